#include "window/x11_selection.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

// After Qt's headers: its macros (None, Bool, Status) would rename Qt's own names.
#include <X11/Xlib.h>

namespace loto {
namespace {

// As long as Qt waits for an owner to answer.
constexpr int kAnswerMilliseconds = 5000;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }  // xcb's replies and events: malloc'd
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;
using Event = Reply<xcb_generic_event_t>;

constexpr std::uint8_t kSentByAnotherClient = 0x80;

// The next event that `wanted` takes, the others dropped; none once the owner has taken too long
// or the connection has broken.
Event WaitFor(xcb_connection_t* x, const std::function<bool(const xcb_generic_event_t&)>& wanted) {
    const QDeadlineTimer deadline(kAnswerMilliseconds);
    for (;;) {
        for (Event event(xcb_poll_for_event(x)); event; event.reset(xcb_poll_for_event(x))) {
            if (wanted(*event)) {
                return event;
            }
        }
        pollfd readable{.fd = xcb_get_file_descriptor(x), .events = POLLIN, .revents = 0};
        if (xcb_connection_has_error(x) != 0 ||
            poll(&readable, 1, static_cast<int>(deadline.remainingTime())) <= 0) {
            return nullptr;
        }
    }
}

bool Is(const xcb_generic_event_t& event, std::uint8_t type) {
    return (event.response_type & ~kSentByAnotherClient) == type;
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The property's bytes and type, the property deleted, which tells the owner to send more.
struct Taken {
    QByteArray bytes;
    xcb_atom_t type = XCB_ATOM_NONE;
};
Taken Take(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        x, xcb_get_property(x, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
        nullptr));
    if (!reply) {
        return {};
    }
    return {.bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                xcb_get_property_value_length(reply.get())),
            .type = reply->type};
}

}  // namespace

std::optional<QByteArray> X11Utf8String(QClipboard::Mode mode) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const bool ours =
        mode == QClipboard::Clipboard ? clipboard->ownsClipboard() : clipboard->ownsSelection();
    if (x11 == nullptr || x11->display() == nullptr || ours) {
        return std::nullopt;
    }
    // A connection of its own to Qt's display, whose events it reads: Qt's are Qt's to read.
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(DisplayString(x11->display()), nullptr), xcb_disconnect);
    xcb_connection_t* x = connection.get();
    if (xcb_connection_has_error(x) != 0) {
        return std::nullopt;
    }
    const xcb_atom_t selection =
        mode == QClipboard::Clipboard ? Atom(x, "CLIPBOARD") : xcb_atom_t{XCB_ATOM_PRIMARY};
    const xcb_atom_t utf8 = Atom(x, "UTF8_STRING");
    const xcb_atom_t property = Atom(x, "LOTO_PASTE");
    const xcb_window_t window = xcb_generate_id(x);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(
        x, XCB_COPY_FROM_PARENT, window, xcb_setup_roots_iterator(xcb_get_setup(x)).data->root, 0,
        0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    xcb_convert_selection(x, window, selection, utf8, property, XCB_CURRENT_TIME);
    xcb_flush(x);
    const Event notified = WaitFor(
        x, [](const xcb_generic_event_t& event) { return Is(event, XCB_SELECTION_NOTIFY); });
    if (!notified ||
        reinterpret_cast<const xcb_selection_notify_event_t*>(notified.get())->property ==
            XCB_ATOM_NONE) {
        return std::nullopt;  // no such target
    }
    Taken taken = Take(x, window, property);
    if (taken.type != Atom(x, "INCR")) {
        return taken.type == utf8 ? std::optional(taken.bytes) : std::nullopt;
    }
    // Too large for one property: sent in parts, each once the previous one is taken, until an
    // empty one.
    QByteArray bytes;
    const auto newPart = [property](const xcb_generic_event_t& event) {
        const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        return Is(event, XCB_PROPERTY_NOTIFY) && change.atom == property &&
               change.state == XCB_PROPERTY_NEW_VALUE;
    };
    while (WaitFor(x, newPart)) {
        taken = Take(x, window, property);
        if (taken.bytes.isEmpty() || taken.type != utf8) {
            return taken.type == utf8 ? std::optional(bytes) : std::nullopt;
        }
        bytes += taken.bytes;
    }
    return std::nullopt;
}

}  // namespace loto
