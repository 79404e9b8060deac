#pragma once
// One command's changes as one step, for as long as this object lives:
//     StepScope step(librarian, labels::LoadAll());

#include "model/Librarian.h"

namespace zanq {

class StepScope {
public:
    StepScope(Librarian& librarian, const QString& label) : librarian_(librarian) {
        librarian_.beginStep(label);
    }
    ~StepScope() { librarian_.endStep(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    Librarian& librarian_;
};

}  // namespace zanq
