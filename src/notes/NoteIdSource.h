#pragma once
// Where new note ids come from, and which installation this copy of the
// program is. The ids must not repeat across computers that never talk to
// each other, so they come from the system's random source; the Windows
// layer installs its own (RtlGenRandom), tests install one they can predict.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "notes/NoteIdentity.h"

class NoteIdSource {
public:
    // Fills size bytes at out with random bytes; false when the source failed.
    using RandomBytes = std::function<bool(void* out, size_t size)>;
    // An empty function restores the default (std::random_device).
    static void SetRandomBytes(RandomBytes source);

    // Never the null id.
    static NoteId NewId();
    // A new note's identity: a new id, made and changed at now by this
    // installation.
    static NoteIdentity NewIdentity(int64_t now);

    // The Windows layer sets the id kept in the settings file at start-up;
    // until then a process has a random one of its own, so that its changes
    // are never taken for another computer's.
    static void SetInstallation(NoteId installation);
    static NoteId Installation();
};
