// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "platform/windowmanagerhints.h"

#include "platform/xcbsupport.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace orvanta {

namespace {

constexpr char kAbove[] = "_NET_WM_STATE_ABOVE";
// Qt's legacy KDE state beside the above state; xfwm4 warns about it.
constexpr char kStaysOnTop[] = "_NET_WM_STATE_STAYS_ON_TOP";
constexpr char kSkipTaskbar[] = "_NET_WM_STATE_SKIP_TASKBAR";
constexpr char kSkipPager[] = "_NET_WM_STATE_SKIP_PAGER";
constexpr char kNormalType[] = "_NET_WM_WINDOW_TYPE_NORMAL";
// The _NET_WM_STATE client message's actions (EWMH).
constexpr std::uint32_t kStateRemove = 0;
constexpr std::uint32_t kStateAdd = 1;
// The message comes from an application, not from a pager.
constexpr std::uint32_t kSourceApplication = 1;
constexpr std::uint32_t kSourcePager = 2;
// Properties of atoms read here are short; this bounds a broken one.
constexpr std::uint32_t kMaxAtoms = 256;

xcb_window_t rootOf(xcb_connection_t* connection) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return screen ? screen->root : xcb_window_t(XCB_WINDOW_NONE);
}

bool refused(xcb_generic_error_t* error, const QByteArray& what) {
    return orvanta::refused(error, what.constData());
}

// Atoms by name, interned once per connection.
class Atoms {
public:
    explicit Atoms(xcb_connection_t* connection) : m_connection(connection) {}

    xcb_atom_t operator()(const QByteArray& name) {
        if (const auto found = m_atoms.constFind(name); found != m_atoms.cend())
            return *found;
        xcb_generic_error_t* error = nullptr;
        const auto reply = owned(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, name.size(), name.constData()), &error));
        if (refused(error, "to intern " + name) || !reply)
            return XCB_ATOM_NONE;
        m_atoms.insert(name, reply->atom);
        return reply->atom;
    }

    QByteArray name(xcb_atom_t atom) const {
        xcb_generic_error_t* error = nullptr;
        const auto reply = owned(
            xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atom), &error));
        if (refused(error, "to name an atom") || !reply)
            return {};
        return QByteArray(xcb_get_atom_name_name(reply.get()),
                          xcb_get_atom_name_name_length(reply.get()));
    }

private:
    xcb_connection_t* m_connection;
    QHash<QByteArray, xcb_atom_t> m_atoms;
};

QByteArrayList atomProperty(xcb_connection_t* connection, Atoms& atoms, xcb_window_t window,
                            const QByteArray& property) {
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, atoms(property), XCB_ATOM_ATOM, 0, kMaxAtoms),
        &error));
    if (refused(error, "to read " + property) || !reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    QByteArrayList names;
    for (int i = 0, n = xcb_get_property_value_length(reply.get()) / 4; i < n; ++i)
        names << atoms.name(values[i]);
    return names;
}

void setAtomProperty(xcb_connection_t* connection, Atoms& atoms, xcb_window_t window,
                     const QByteArray& property, const QByteArrayList& names) {
    std::vector<xcb_atom_t> values;
    for (const QByteArray& name : names)
        values.push_back(atoms(name));
    const xcb_void_cookie_t cookie = xcb_change_property_checked(
        connection, XCB_PROP_MODE_REPLACE, window, atoms(property), XCB_ATOM_ATOM, 32,
        static_cast<std::uint32_t>(values.size()), values.data());
    refused(xcb_request_check(connection, cookie),
            property + " of window 0x" + QByteArray::number(window, 16));
}

QByteArray utf8Property(xcb_connection_t* connection, Atoms& atoms, xcb_window_t window,
                        const QByteArray& property) {
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, atoms(property), atoms("UTF8_STRING"), 0, 256),
        &error));
    if (refused(error, "to read " + property) || !reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

xcb_window_t windowProperty(xcb_connection_t* connection, Atoms& atoms, xcb_window_t window,
                            const QByteArray& property) {
    xcb_generic_error_t* error = nullptr;
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atoms(property), XCB_ATOM_WINDOW, 0, 1),
        &error));
    if (refused(error, "to read " + property) || !reply || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

// Sends an EWMH client message about `window` to the root window, where the
// window manager listens.
bool sendToRoot(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t type,
                std::initializer_list<std::uint32_t> data, const QByteArray& what) {
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    const xcb_void_cookie_t cookie = xcb_send_event_checked(
        connection, 0, rootOf(connection),
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    return !refused(xcb_request_check(connection, cookie), what);
}

// The managed window at or below `window`: the one with WM_STATE, which a
// window manager's frame holds.
xcb_window_t clientWindow(xcb_connection_t* connection, Atoms& atoms, xcb_window_t window) {
    const xcb_atom_t wmState = atoms("WM_STATE");
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, wmState, XCB_ATOM_ANY, 0, 0), nullptr));
    if (reply && reply->type != XCB_ATOM_NONE)
        return window;
    const auto tree =
        owned(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    if (!tree)
        return XCB_WINDOW_NONE;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    // Top of the stack first.
    for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i)
        if (const xcb_window_t found = clientWindow(connection, atoms, children[i]))
            return found;
    return XCB_WINDOW_NONE;
}

} // namespace

QByteArrayList netWmState(const QByteArrayList& existing, bool stayOnTop) {
    QByteArrayList state;
    for (const QByteArray& atom : existing)
        if (atom != kStaysOnTop && atom != kAbove && !state.contains(atom))
            state << atom;
    if (stayOnTop)
        state << kAbove;
    for (const char* skip : {kSkipTaskbar, kSkipPager})
        if (!state.contains(skip))
            state << skip;
    return state;
}

QString X11WindowManagerHints::windowManagerName() {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return {};
    Atoms atoms(connection);
    // EWMH: the root and the check window both point at the check window,
    // which carries the manager's name; a stale pointer means none runs.
    const xcb_window_t check =
        windowProperty(connection, atoms, rootOf(connection), "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_WINDOW_NONE ||
        windowProperty(connection, atoms, check, "_NET_SUPPORTING_WM_CHECK") != check)
        return {};
    return QString::fromUtf8(utf8Property(connection, atoms, check, "_NET_WM_NAME"));
}

bool X11WindowManagerHints::onXWayland() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [](const QScreen* s) { return s->name().startsWith(u"XWAYLAND"); });
}

void X11WindowManagerHints::prepare(WId window, bool stayOnTop) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == 0)
        return;
    Atoms atoms(connection);
    const auto id = static_cast<xcb_window_t>(window);
    // Qt adds its own states to what the property holds when it maps the
    // window, so ours stay.
    setAtomProperty(connection, atoms, id, "_NET_WM_STATE",
                    netWmState(atomProperty(connection, atoms, id, "_NET_WM_STATE"), stayOnTop));
    // A normal window: Qt writes KDE's legacy override type before it for a
    // frameless one, weston's window manager places a utility window 32
    // pixels (its frame's shadow) off the place it asks for, and sway gives
    // the keyboard to an override-redirect utility window on no click.
    setAtomProperty(connection, atoms, id, "_NET_WM_WINDOW_TYPE", {kNormalType});
    xcb_flush(connection);
    keepOnTopIfBypassing(window, stayOnTop);
}

void X11WindowManagerHints::setStayOnTop(WId window, bool on) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == 0)
        return;
    Atoms atoms(connection);
    const auto id = static_cast<xcb_window_t>(window);
    if (windowManagerName().isEmpty()) {
        // No window manager owns the state: it is ours to write.
        setAtomProperty(connection, atoms, id, "_NET_WM_STATE",
                        netWmState(atomProperty(connection, atoms, id, "_NET_WM_STATE"), on));
    } else {
        // A mapped window's state belongs to the window manager: ask it.
        sendToRoot(connection, id, atoms("_NET_WM_STATE"),
                   {on ? kStateAdd : kStateRemove, atoms(kAbove), 0, kSourceApplication},
                   "the stay-on-top request for window 0x" + QByteArray::number(id, 16));
    }
    xcb_flush(connection);
    keepOnTopIfBypassing(window, on);
}

void X11WindowManagerHints::keepOnTopIfBypassing(WId window, bool stayOnTop) {
    xcb_connection_t* connection = x11Connection();
    const auto attributes = owned(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, static_cast<xcb_window_t>(window)),
        nullptr));
    m_stack.keepOnTop(stayOnTop && attributes && attributes->override_redirect ? window : 0);
}

bool X11WindowManagerHints::bypassWindowManager() const {
    // The names wlroots' X window manager (as sway runs it) and weston's give
    // themselves. weston places an X window once, where it was created, and
    // moves it no more; a window that bypasses it is drawn where it is put.
    const QString name = windowManagerName();
    return name == u"wlroots wm" || name == u"Weston WM";
}

bool X11WindowManagerHints::handBackFocus(WId window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || window == 0 || !onXWayland())
        return false;
    Atoms atoms(connection);
    const xcb_window_t root = rootOf(connection);
    const auto pointer =
        owned(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
    // The X server's answer follows the input shapes: the window the click
    // went to. The button is often up again by the time the activation is
    // seen, so it is not asked for; but a click the compositor took for ours
    // lies inside our rectangle.
    if (!pointer || pointer->child == XCB_WINDOW_NONE || pointer->child == window)
        return false;
    const auto id = static_cast<xcb_window_t>(window);
    const auto geometry =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
    const auto origin = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr));
    if (!geometry || !origin ||
        !QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height)
             .contains(pointer->root_x, pointer->root_y))
        return false;
    const xcb_window_t clicked = clientWindow(connection, atoms, pointer->child);
    if (clicked == XCB_WINDOW_NONE || clicked == window)
        return false;
    // The X focus itself: the window manager follows it (mutter moves its
    // active window there). An EWMH activation request would want the
    // click's timestamp, which the window that got the click alone has.
    const xcb_void_cookie_t cookie = xcb_set_input_focus_checked(
        connection, XCB_INPUT_FOCUS_POINTER_ROOT, clicked, XCB_CURRENT_TIME);
    return !refused(xcb_request_check(connection, cookie),
                    "to give the keyboard to window 0x" + QByteArray::number(clicked, 16));
}

} // namespace orvanta
