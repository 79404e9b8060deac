#pragma once
// Builders for test records: 291-byte program dumps with a chosen name, bank and program, and
// patch data that differs from record to record so byte-for-byte checks mean something.

#include <QFile>
#include <string>
#include <string_view>

#include "model/DeepMindDialect.h"
#include "model/Librarian.h"
#include "model/PatchRecord.h"

namespace zanq::test {

// name fills the 17-byte name window as it is, padded with NULs.
inline PatchRecord MakeRecord(const std::string& name, int bank, int program, int seed = 0) {
    PatchRecord r(kRecordLength, '\0');
    const unsigned char header[8] = {0xF0, 0x00, 0x20, 0x32, 0x20, 0x00, 0x02, 0x07};
    for (int i = 0; i < 8; ++i)
        r[i] = static_cast<char>(header[i]);
    r[8] = static_cast<char>(bank);
    r[9] = static_cast<char>(program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 7 + seed * 13 + bank + program) & 0x7F);
    for (std::size_t i = 0; i < 17; ++i)
        r[265 + i] = i < name.size() ? name[i] : '\0';
    for (std::size_t i = 282; i < 290; ++i)
        r[i] = static_cast<char>((seed + i) & 0x7F);
    r[290] = static_cast<char>(0xF7);
    return r;
}

// A slot named as users read it: At("C-7") is bank C, program 7; so is At(3, 7).
inline Slot At(std::string_view text) {
    return Slot::parse(text).value();
}
inline Slot At(int bankNumber, int programNumber) {
    return {Bank::fromNumber(bankNumber), Program::fromNumber(programNumber)};
}

// The record as it reads once it sits in slot: only its bank and program bytes rewritten.
inline PatchRecord Moved(PatchRecord record, Slot slot) {
    record[8] = static_cast<char>(slot.bank.byte());
    record[9] = static_cast<char>(slot.program.byte());
    return record;
}

// The record a synth holds at this slot, named after it: "Got A-001".
inline PatchRecord SlotRecord(Slot slot) {
    return MakeRecord("Got " + slot.text(), slot.bank.byte(), slot.program.byte(), slot.index());
}

// count records named name001, name002... in the first programs of bank (1 for A).
inline std::string Series(const std::string& name, int bank, int count, int seed = 0) {
    std::string records;
    for (int i = 1; i <= count; ++i)
        records += MakeRecord(name + FormatProgram(i), bank - 1, i - 1, seed + i);
    return records;
}

// A file's whole contents; a file that cannot be written ends the test program.
inline void WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A Librarian over the DeepMind dialect, for tests that need the stores without the program.
struct TestLibrarian {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
};

}  // namespace zanq::test
