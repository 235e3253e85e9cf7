// The ASI loaders of a game folder, known by what they are rather than by
// their file names: a loader takes the name of any library the game loads,
// and a library of such a name may be no loader at all.
//
// What each kind is known to do comes from its own documentation and public
// reports; the checker cannot run any of them.
#pragma once

#include <string>
#include <vector>

#include "game_files.h"

enum LoaderKind {
    loader_ultimate,     // Ultimate ASI Loader
    loader_of_the_hook,  // the loader in ScriptHookRDR2's zip, normally dinput8.dll
    loader_unknown,      // a library that names .asi files, of no kind known
    no_loader_windows,   // Windows' own library of that name: no loader at all
};

// What a kind of loader is known to do.
struct LoaderKnown {
    LoaderKind kind;
    const char* name;  // in words: "Ultimate ASI Loader"
    bool folders_known;
    std::vector<const char*> subfolders;  // the game's subfolders it reads .asi files from, besides the game's own
    bool writes_log;                      // it writes asiloader.log
};

const LoaderKnown& loader_known(LoaderKind kind);

// A library of the game's folder that is, or is taken for, a loader.
struct LoaderSeen {
    ProgramSeen file;
    LoaderKind kind;
};

// The names the game loads libraries by, which a loader takes, in the order
// they are looked at.
extern const std::vector<const char*> kLoaderNames;

// The loaders of the game's folder: each library of a loader's name, and any
// other library that names .asi files (Ondrelle's and the hook's own aside).
std::vector<LoaderSeen> look_for_loaders(const std::string& folder);
