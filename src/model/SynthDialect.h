#pragma once
// Everything the librarian knows about one synthesizer model's SysEx: the program-dump
// record's layout and validity, where the name sits, how a program is requested, and how the
// synth's MIDI port is recognised. The rest of the program asks the dialect and never counts
// bytes itself, so a second model means one more class.

#include <string>
#include <string_view>

#include "model/Slot.h"

namespace zanq {

class SynthDialect {
public:
    virtual ~SynthDialect() = default;

    // "DeepMind": how messages name the synth.
    virtual std::string modelName() const = 0;
    // Length of one program dump, final F7 included.
    virtual std::size_t recordLength() const = 0;
    // True when bytes are a whole program dump that names a slot in range.
    virtual bool isValidRecord(std::string_view bytes) const = 0;
    // The slot a valid record names in its own bytes.
    virtual Slot slotOf(std::string_view record) const = 0;
    // A copy of the record that names slot instead; no other byte changes.
    virtual std::string retarget(std::string_view record, Slot slot) const = 0;
    // The patch name as stored, spaces and NULs trimmed; raw bytes, no encoding applied.
    virtual std::string patchName(std::string_view record) const = 0;
    // The message that asks the synth to send the program at slot.
    virtual std::string programDumpRequest(Slot slot) const = 0;
    // True for a MIDI port that belongs to this synth.
    virtual bool isSynthPort(std::string_view portName) const = 0;
};

}  // namespace zanq
