// SPDX-License-Identifier: MIT
// Opening a foreign X window, following its size and lifetime, and putting RGB32 pictures into it.
#include "platform/qt/xcbtarget.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pelorix {

namespace {

std::string hexId(std::uint32_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", id);
    return text;
}

// The visual's description among the server's screens; null when it is not found.
const xcb_visualtype_t* findVisual(const xcb_setup_t* setup, xcb_visualid_t id, std::uint8_t& depth) {
    for (auto screens = xcb_setup_roots_iterator(setup); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == id) {
                    depth = depths.data->depth;
                    return visuals.data;
                }
    return nullptr;
}

int bitsPerPixel(const xcb_setup_t* setup, std::uint8_t depth) {
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == depth) return formats.data->bits_per_pixel;
    return 0;
}

}  // namespace

std::unique_ptr<XcbTarget> XcbTarget::open(std::uint32_t window, bool root, std::string& error) {
    std::unique_ptr<XcbTarget> target(new XcbTarget);
    int screenNumber = 0;
    target->connection_ = xcb_connect(nullptr, &screenNumber);
    xcb_connection_t* c = target->connection_;
    if (xcb_connection_has_error(c)) {
        const char* display = std::getenv("DISPLAY");
        error = std::string("cannot connect to the X display ") + (display && *display ? display : "(DISPLAY is not set)");
        return nullptr;
    }
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (root) {
        auto screens = xcb_setup_roots_iterator(setup);
        for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
        window = screens.data->root;
    }
    target->window_ = window;

    // Ask for size changes, exposure and destruction; the check also tells whether the window exists.
    const std::uint32_t mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_generic_error_t* failure =
        xcb_request_check(c, xcb_change_window_attributes_checked(c, window, XCB_CW_EVENT_MASK, &mask));
    xcb_get_geometry_reply_t* geometry = failure ? nullptr : xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    xcb_get_window_attributes_reply_t* attributes =
        geometry ? xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr) : nullptr;
    std::free(failure);
    if (!geometry || !attributes) {
        std::free(geometry);
        std::free(attributes);
        error = "no window " + hexId(window) + " on this display";
        return nullptr;
    }
    target->width_ = geometry->width;
    target->height_ = geometry->height;
    std::uint8_t depth = geometry->depth;
    const xcb_visualtype_t* visual = findVisual(setup, attributes->visual, depth);
    std::free(geometry);
    std::free(attributes);
    const bool truecolour = visual && visual->_class == XCB_VISUAL_CLASS_TRUE_COLOR && visual->red_mask == 0xFF0000 &&
                            visual->green_mask == 0x00FF00 && visual->blue_mask == 0x0000FF;
    if (!truecolour || (depth != 24 && depth != 32) || bitsPerPixel(setup, depth) != 32) {
        error = "window " + hexId(window) + " has a pixel format that cannot be drawn (24-bit or 32-bit true colour is needed)";
        return nullptr;
    }
    target->depth_ = depth;
    target->swapBytes_ = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    target->maxRequestBytes_ = static_cast<std::size_t>(xcb_get_maximum_request_length(c)) * 4;

    target->gc_ = xcb_generate_id(c);
    xcb_create_gc(c, target->gc_, window, 0, nullptr);
    xcb_flush(c);
    return target;
}

XcbTarget::~XcbTarget() {
    if (!connection_) return;
    if (gc_ && !xcb_connection_has_error(connection_)) xcb_free_gc(connection_, gc_);
    xcb_disconnect(connection_);
}

int XcbTarget::fd() const { return xcb_get_file_descriptor(connection_); }

XcbTarget::Changes XcbTarget::poll() {
    Changes changes;
    if (gone_) return changes;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        switch (event->response_type & 0x7F) {
            case 0: {
                // An error: one naming our window or drawable means the window has gone.
                const auto* e = reinterpret_cast<xcb_generic_error_t*>(event);
                if (e->error_code == XCB_WINDOW || e->error_code == XCB_DRAWABLE) gone_ = true;
                break;
            }
            case XCB_DESTROY_NOTIFY:
                if (reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window == window_) gone_ = true;
                break;
            case XCB_CONFIGURE_NOTIFY: {
                const auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
                if (e->window == window_ && (e->width != width_ || e->height != height_)) {
                    width_ = e->width;
                    height_ = e->height;
                    changes.resized = true;
                }
                break;
            }
            case XCB_EXPOSE: {
                const auto* e = reinterpret_cast<xcb_expose_event_t*>(event);
                changes.exposed |= QRect(e->x, e->y, e->width, e->height);
                break;
            }
            default: break;
        }
        std::free(event);
    }
    if (xcb_connection_has_error(connection_)) gone_ = true;
    return changes;
}

void XcbTarget::put(const QImage& image, const QRect& area) {
    if (gone_) return;
    const QRect rect = area.intersected(image.rect()).intersected(QRect(0, 0, width_, height_));
    if (rect.isEmpty()) return;
    const auto w = static_cast<std::size_t>(rect.width());
    // Large areas go in strips that each fit one request: the image request's header takes 24
    // bytes, and 64 are kept back for it, with room to spare.
    constexpr std::size_t requestHeaderRoom = 64;
    const std::size_t stripRows = std::max<std::size_t>(1, (maxRequestBytes_ - requestHeaderRoom) / (w * 4));
    for (int top = rect.top(); top <= rect.bottom();) {
        const int rows = static_cast<int>(std::min<std::size_t>(stripRows, static_cast<std::size_t>(rect.bottom() - top + 1)));
        rows_.resize(w * static_cast<std::size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(top + r)) + rect.left();
            std::uint32_t* to = rows_.data() + w * static_cast<std::size_t>(r);
            if (swapBytes_)
                std::transform(from, from + w, to, [](std::uint32_t v) { return __builtin_bswap32(v); });
            else
                std::memcpy(to, from, w * 4);
        }
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(rows), static_cast<std::int16_t>(rect.left()), static_cast<std::int16_t>(top),
                      0, depth_, static_cast<std::uint32_t>(rows_.size() * 4),
                      reinterpret_cast<const std::uint8_t*>(rows_.data()));
        top += rows;
    }
    xcb_flush(connection_);
}

}  // namespace pelorix
