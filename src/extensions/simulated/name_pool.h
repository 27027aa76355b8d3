#pragma once

// Display names the simulated leaderboards build their generated players
// from: 53 first names, then nine short entries of one to five characters.
inline constexpr const char* kSimulatedNamePool[] = {
    "Aada",  "Bela",  "Cato",  "Dilan",  "Edda", "Faro",   "Gitte", "Hanno", "Ilka",  "Joost", "Kaja",
    "Lenno", "Mira",  "Nils",  "Olle",   "Pia",  "Quint",  "Runa",  "Sven",  "Tilde", "Ulla",  "Vito",
    "Wanda", "Xaver", "Yara",  "Zeno",   "Alma", "Bjarne", "Cilly", "Dorin", "Elin",  "Fenja", "Gero",
    "Hedda", "Ivo",   "Jorna", "Kilian", "Liv",  "Malte",  "Nele",  "Oda",   "Pelle", "Rike",  "Silas",
    "Tamme", "Uwe",   "Vera",  "Wim",    "Ylva", "Zora",   "Arvo",  "Britt", "Carlo", "A",     "Bo",
    "Cy",    "Dee",   "Ek",    "Fynn",   "Gus",  "Hal",    "Io",
};
static_assert(sizeof kSimulatedNamePool / sizeof kSimulatedNamePool[0] == 62,
              "62 names: 53 first names and 9 short ones");
inline constexpr int kSimulatedNamePoolSize = sizeof kSimulatedNamePool / sizeof kSimulatedNamePool[0];
