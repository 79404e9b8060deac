#include "shell/FontConfigPreload.h"

#include <dlfcn.h>

namespace zanq {

FontConfigPreload::FontConfigPreload() {
    // Looked up in the libraries already loaded: the toolkit links the font configuration
    // library on Linux, and the program needs no headers of its own for this one call.
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit")))
        reader_ = std::thread(init);
}

FontConfigPreload::~FontConfigPreload() {
    wait();
}

void FontConfigPreload::wait() {
    if (reader_.joinable())
        reader_.join();
}

}  // namespace zanq
