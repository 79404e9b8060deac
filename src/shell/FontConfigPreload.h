#pragma once
// Every window of the program shows text, and the first text measured makes the toolkit read the
// system's font configuration and font list: tens of milliseconds, most of it parsing the
// configuration files. That reading needs no window, so it can start on a thread of its own at
// the top of main() and run while the application connects to the display; the window code
// waits for it before its first text. Where the toolkit does not use the font configuration
// library, there is nothing to read and both calls do nothing.

#include <thread>

namespace zanq {

class FontConfigPreload {
public:
    FontConfigPreload();  // starts reading
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Returns once the configuration has been read; call before the first window is built.
    void wait();

private:
    std::thread reader_;
};

}  // namespace zanq
