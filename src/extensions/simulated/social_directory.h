#pragma once

// The simulated social network's users. The ids are invented nine-digit
// numbers; no real service is ever contacted.
struct SimulatedSocialPerson {
    const char* id;
    const char* name;
};

inline constexpr SimulatedSocialPerson kSimulatedLocalUser = {"100000001", "Local User"};

// The built-in friends of the local user.
inline constexpr SimulatedSocialPerson kSimulatedFriends[] = {
    {"100000011", "Aino"}, {"100000012", "Bram"},  {"100000013", "Cleo"},  {"100000014", "Dario"},
    {"100000015", "Elif"}, {"100000016", "Femi"},  {"100000017", "Greta"}, {"100000018", "Hugo"},
    {"100000019", "Ines"}, {"100000020", "Jonas"},
};
static_assert(sizeof kSimulatedFriends / sizeof kSimulatedFriends[0] == 10, "ten built-in friends");

// The picture service of the simulated network: a host of our own that
// resolves nowhere.
inline constexpr const char* kSimulatedPictureHost = "pictures.invalid";
