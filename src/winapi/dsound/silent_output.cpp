#include "clocked_output.h"

namespace {

// Mixes in real time and drops the frames, so that buffers play and end as on a device.
class SilentOutput final : public ClockedOutput {
public:
    ~SilentOutput() override { Stop(); }
    const char* GetName() const override { return "silent"; }

protected:
    bool Begin(DWORD) override { return true; }
    void Consume(const SHORT*, DWORD) override {}
    void Finish() override {}
};

}  // namespace

std::unique_ptr<AudioOutput> CreateSilentOutput() { return std::make_unique<SilentOutput>(); }
