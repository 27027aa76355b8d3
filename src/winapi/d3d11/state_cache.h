#pragma once

#include <map>
#include <mutex>
#include <vector>

namespace halvo::d3d11 {

// The state objects of one kind that a device made, by their description:
// creating a state whose description equals that of a live one hands out
// that one again, as the platform does. The cache does not hold its
// objects; each removes itself when it goes.
template <typename State>
class StateCache {
public:
    using Key = std::vector<unsigned char>;

    // The live state of that description with a new reference, or else the
    // one `make` makes (null when it cannot), listed unless `limit` states are
    // listed already; one lock covers both, so that threads asking for equal
    // descriptions at once get one object.
    template <typename Make>
    State* FindOrMake(const Key& key, size_t limit, bool* overLimit, Make make)
    {
        std::lock_guard<std::mutex> hold(lock_);
        *overLimit = false;
        auto found = states_.find(key);
        if (found != states_.end() && found->second->TryAddHandedOutReference()) return found->second;
        if (found == states_.end() && states_.size() >= limit) {
            *overLimit = true;
            return nullptr;
        }
        State* made = make();
        if (made != nullptr) states_[key] = made;
        return made;
    }

    void Remove(const Key& key, State* state)
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto found = states_.find(key);
        if (found != states_.end() && found->second == state) states_.erase(found);
    }

private:
    std::mutex lock_;
    std::map<Key, State*> states_;  // guarded by lock_
};

}  // namespace halvo::d3d11
