// SPDX-License-Identifier: MIT
// Opening a foreign X window, following its size and lifetime, and drawing into it from server-held pictures.
#include "saver/xcbtarget.h"

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

    // Copies between pictures the server holds never ask for exposure events: every source lies
    // wholly inside its picture.
    target->gc_ = xcb_generate_id(c);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(c, target->gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
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
                // An error naming the window, as a window or as a drawable, means it has gone; one
                // about a picture of the saver's own leaves the window to be drawn on.
                const auto* e = reinterpret_cast<xcb_generic_error_t*>(event);
                if ((e->error_code == XCB_WINDOW || e->error_code == XCB_DRAWABLE) && e->resource_id == window_)
                    gone_ = true;
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

std::uint32_t XcbTarget::createPixmap(QSize size) {
    if (gone_ || size.isEmpty() || size.width() > 0x7FFF || size.height() > 0x7FFF) return 0;
    const std::uint32_t pixmap = xcb_generate_id(connection_);
    // Checked: a picture the server could not make would fail every drawing call that names it.
    xcb_generic_error_t* failure = xcb_request_check(
        connection_, xcb_create_pixmap_checked(connection_, depth_, pixmap, window_, static_cast<std::uint16_t>(size.width()),
                                               static_cast<std::uint16_t>(size.height())));
    if (failure || xcb_connection_has_error(connection_)) {
        std::free(failure);
        return 0;
    }
    return pixmap;
}

std::uint32_t XcbTarget::upload(const QImage& picture) {
    if (picture.isNull() || picture.format() != QImage::Format_RGB32) return 0;
    const std::uint32_t pixmap = createPixmap(picture.size());
    if (pixmap) put(pixmap, picture);
    return pixmap;
}

void XcbTarget::freePixmap(std::uint32_t pixmap) {
    if (pixmap && !gone_) xcb_free_pixmap(connection_, pixmap);
}

QImage XcbTarget::download(std::uint32_t pixmap, QSize size) {
    if (gone_ || !pixmap || size.isEmpty()) return {};
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, 0, 0, static_cast<std::uint16_t>(size.width()),
                      static_cast<std::uint16_t>(size.height()), ~0u),
        nullptr);
    if (!reply) return {};
    QImage picture(size, QImage::Format_RGB32);
    const auto rowBytes = static_cast<std::size_t>(size.width()) * 4;
    // The reply holds 32-bit pixels, row after row; anything shorter is refused.
    if (!picture.isNull() && static_cast<std::size_t>(xcb_get_image_data_length(reply)) >= rowBytes * static_cast<std::size_t>(size.height())) {
        const std::uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < size.height(); ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
            std::memcpy(row, data + rowBytes * static_cast<std::size_t>(y), rowBytes);
            for (int x = 0; x < size.width(); ++x) row[x] = 0xFF000000u | (swapBytes_ ? __builtin_bswap32(row[x]) : row[x]);
        }
    } else {
        picture = QImage();
    }
    std::free(reply);
    return picture;
}

void XcbTarget::fill(std::uint32_t pixmap, const QRect& rect, unsigned value) {
    if (gone_ || rect.isEmpty()) return;
    // A window of depth 24 has no alpha: the pixel is its colour alone.
    if (depth_ != 32) value &= 0xFFFFFFu;
    if (value != foreground_) {
        xcb_change_gc(connection_, gc_, XCB_GC_FOREGROUND, &value);
        foreground_ = value;
    }
    const xcb_rectangle_t box{static_cast<std::int16_t>(rect.left()), static_cast<std::int16_t>(rect.top()),
                              static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rect.height())};
    xcb_poly_fill_rectangle(connection_, pixmap, gc_, 1, &box);
}

void XcbTarget::copy(std::uint32_t from, std::uint32_t to, QPoint origin, const QRect& target) {
    if (gone_ || target.isEmpty()) return;
    xcb_copy_area(connection_, from, to, gc_, static_cast<std::int16_t>(origin.x()), static_cast<std::int16_t>(origin.y()),
                  static_cast<std::int16_t>(target.left()), static_cast<std::int16_t>(target.top()),
                  static_cast<std::uint16_t>(target.width()), static_cast<std::uint16_t>(target.height()));
}

void XcbTarget::show(std::uint32_t pixmap, const QRect& area) {
    const QRect rect = area.intersected(QRect(0, 0, width_, height_));
    copy(pixmap, window_, rect.topLeft(), rect);
}

void XcbTarget::send() {
    if (!gone_) xcb_flush(connection_);
}

void XcbTarget::put(std::uint32_t drawable, const QImage& picture) {
    const auto w = static_cast<std::size_t>(picture.width());
    // Large pictures go in strips that each fit one request: the image request's header takes 24
    // bytes, and 64 are kept back for it, with room to spare. A strip is at most a megabyte, so
    // that neither side holds more than that of a picture on its way.
    constexpr std::size_t requestHeaderRoom = 64;
    constexpr std::size_t largestStripBytes = std::size_t{1} << 20;
    const std::size_t stripBytes = std::min(maxRequestBytes_ - requestHeaderRoom, largestStripBytes);
    // Rows go as they are when they follow each other without padding, in the server's byte
    // order; otherwise they are copied and turned first.
    const bool asStored = !swapBytes_ && static_cast<std::size_t>(picture.bytesPerLine()) == w * 4;
    const std::size_t stripRows = std::max<std::size_t>(1, stripBytes / (w * 4));
    for (int top = 0; top < picture.height();) {
        const int rows = static_cast<int>(std::min<std::size_t>(stripRows, static_cast<std::size_t>(picture.height() - top)));
        const std::size_t bytes = w * 4 * static_cast<std::size_t>(rows);
        const std::uint8_t* data = picture.constScanLine(top);
        if (!asStored) {
            rows_.resize(w * static_cast<std::size_t>(rows));
            for (int r = 0; r < rows; ++r) {
                const auto* from = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(top + r));
                std::uint32_t* to = rows_.data() + w * static_cast<std::size_t>(r);
                if (swapBytes_)
                    std::transform(from, from + w, to, [](std::uint32_t v) { return __builtin_bswap32(v); });
                else
                    std::memcpy(to, from, w * 4);
            }
            data = reinterpret_cast<const std::uint8_t*>(rows_.data());
        }
        xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, gc_, static_cast<std::uint16_t>(w),
                      static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0, depth_,
                      static_cast<std::uint32_t>(bytes), data);
        top += rows;
    }
    rows_ = {};
    xcb_flush(connection_);
}

}  // namespace pelorix
