#pragma once
// How each kind of step is named in the Edit menu ("Undo Swap B-003 and C-010"): short, in the
// words of the command that made it. Patch names are bytes and show one character per byte.

#include <QString>
#include <set>
#include <string_view>

#include "model/Slot.h"

namespace zanq {

enum class LoadTarget;

namespace labels {

QString Move(Slot from, Slot to);                          // "Move B-003 to C-010"
QString Swap(Slot a, Slot b);                              // "Swap B-003 and C-010"
QString CopyToSlot(std::string_view name, Slot to);        // "Copy Pad 1 to C-010"
QString DeleteSlot(Slot slot);                             // "Delete B-003"
QString DeleteFromLibrary(std::string_view name);          // "Delete Pad 1 from the library"
QString CopyBank(Bank from, Bank to);                      // "Copy bank A to C"
QString SwapBanks(Bank a, Bank b);                         // "Swap banks A and C"
QString Clear(const std::set<Bank>& banks, bool library);  // "Clear banks A, C and the library"
// "Load pads.syx in Matrix" / "in Library" / "in Library & Matrix"; without a file name,
// "Load in Matrix".
QString Load(const QString& fileName, LoadTarget target);
QString LoadAll();                                  // "Load all"
QString Receive(Slot slot);                         // "Receive B-003"
QString ReceiveBanks(const std::set<Bank>& banks);  // "Receive banks A, B"
QString RestoreSession();                           // "Restore last session"

}  // namespace labels
}  // namespace zanq
