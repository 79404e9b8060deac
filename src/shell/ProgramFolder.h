#pragma once
#include <QString>

namespace zanq {

// Where the librarian keeps the user's files: "ZANQ Librarian" in the documents folder, created
// when missing; the executable's folder when no documents folder can be had. The environment
// variable ZANQ_PROGRAM_FOLDER overrides both (tests and demos point it at a scratch folder).
QString DefaultProgramFolder();

}  // namespace zanq
