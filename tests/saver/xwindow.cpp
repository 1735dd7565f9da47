// SPDX-License-Identifier: MIT
// A native X window for the saver to draw into, read back with GetImage, and the saver's process.
#include "xwindow.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace pelorix::testing {

XWindow::XWindow(int width, int height) {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) throw std::runtime_error("no X display");
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const std::uint32_t values[] = {screen->black_pixel};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL, values);
    xcb_map_window(connection_, window_);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));  // a round trip
}

XWindow::~XWindow() { xcb_disconnect(connection_); }

std::string XWindow::hexId() const {
    std::ostringstream s;
    s << "0x" << std::hex << window_;
    return s.str();
}

void XWindow::resize(int width, int height) {
    const std::uint32_t values[] = {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
    xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
    xcb_flush(connection_);
}

void XWindow::clear() {
    xcb_clear_area(connection_, 0, window_, 0, 0, 0, 0);
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));  // done when it returns
}

void XWindow::destroy() {
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
    destroyed_ = true;
}

std::vector<std::uint32_t> XWindow::pixels(int& width, int& height) const {
    width = height = 0;
    if (destroyed_) return {};
    auto* geometry = xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window_), nullptr);
    if (!geometry) return {};
    width = geometry->width;
    height = geometry->height;
    std::free(geometry);
    auto* image = xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), ~0u),
        nullptr);
    if (!image) return {};
    const auto* data = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
    std::vector<std::uint32_t> out(data, data + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& p : out) p &= 0xFFFFFFu;
    std::free(image);
    return out;
}

int XWindow::litPixels(int x, int y, int w, int h) const {
    int width = 0, height = 0;
    const auto all = pixels(width, height);
    int lit = 0;
    for (int row = std::max(y, 0); row < std::min(y + h, height); ++row)
        for (int col = std::max(x, 0); col < std::min(x + w, width); ++col)
            if (all[static_cast<std::size_t>(row * width + col)] != 0) ++lit;
    return lit;
}

std::optional<std::uint32_t> rootPixel(int x, int y) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    std::optional<std::uint32_t> colour;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        auto* image = xcb_get_image_reply(
            c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 1, 1, ~0u),
            nullptr);
        if (image && xcb_get_image_data_length(image) >= 4)
            colour = *reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image)) & 0xFFFFFFu;
        std::free(image);
    }
    xcb_disconnect(c);
    return colour;
}

SaverProcess::SaverProcess(const std::vector<std::string>& args, const std::vector<std::string>& env,
                           const std::filesystem::path& stderrFile) {
    std::vector<std::string> argStore{PELORIX_EXE};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore;
    // The inherited environment less XSCREENSAVER_WINDOW and whatever the test sets itself.
    auto overridden = [&](const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (name == "XSCREENSAVER_WINDOW=") return true;
        return std::any_of(env.begin(), env.end(), [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    };
    for (char** e = environ; *e; ++e)
        if (!overridden(*e)) envStore.emplace_back(*e);
    envStore.insert(envStore.end(), env.begin(), env.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_ = fork();
    if (pid_ == 0) {
        if (!stderrFile.empty()) {
            if (FILE* f = std::freopen(stderrFile.c_str(), "w", stderr)) (void)f;
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

SaverProcess::~SaverProcess() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitExit(2000);
    }
}

std::optional<int> SaverProcess::waitExit(int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!status_) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return status_;
}

bool SaverProcess::running() { return pid_ > 0 && !waitExit(0); }

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pelorix-saver-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

std::vector<std::pair<std::string, std::string>> snapshot(const std::filesystem::path& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string content(std::istreambuf_iterator<char>(in), {});
        // Small files are compared whole, large ones by size and hash, so a failure stays readable.
        if (content.size() > 64)
            content = std::to_string(content.size()) + " bytes, hash " + std::to_string(std::hash<std::string>{}(content));
        files.emplace_back(entry.path().lexically_relative(folder).string(), content);
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace pelorix::testing
