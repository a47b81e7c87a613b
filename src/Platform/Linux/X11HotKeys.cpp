#include "Platform/Linux/X11HotKeys.h"

#include "KeyboardShortcuts/KeyTable.h"
#include "Support/Log.h"

#include <array>
#include <glib-unix.h>
#include <glib.h>
#include <optional>

// Last: Xlib's macros (None, Bool, Status, ...) would break headers included after them.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace cohortex {

namespace {

// Xlib reports a refused grab through its error handler, after the request has reached the server.
int s_trappedError = 0;

int trapError(Display*, XErrorEvent* event)
{
    s_trappedError = event->error_code;
    return 0;
}

} // namespace

struct X11HotKeys::Connection {
    Display* display{ nullptr };
    ::Window root{ 0 };
    // The lock modifiers a grab must ignore: every combination of Caps Lock, Num Lock and Scroll Lock.
    std::array<unsigned, 8> lockMixes{};
    guint source{ 0 };

    ~Connection()
    {
        if (source)
            g_source_remove(source);
        if (display)
            XCloseDisplay(display);
    }

    unsigned maskOf(KeySym lock) const
    {
        auto mask = XkbKeysymToModifiers(display, lock);
        return mask;
    }

    void findLockMixes()
    {
        std::array<unsigned, 3> locks{ LockMask, maskOf(XK_Num_Lock), maskOf(XK_Scroll_Lock) };
        for (unsigned mix = 0; mix < lockMixes.size(); ++mix) {
            unsigned mask = 0;
            for (unsigned bit = 0; bit < locks.size(); ++bit) {
                if (mix & (1u << bit))
                    mask |= locks[bit];
            }
            lockMixes[mix] = mask;
        }
    }

    unsigned ignoredMask() const { return lockMixes.back(); }

    // Grabs (or ungrabs) the key under every lock mix; false when the server refused any of them.
    bool grab(unsigned keycode, unsigned modifiers, bool grabbing)
    {
        s_trappedError = 0;
        auto previous = XSetErrorHandler(trapError);
        for (auto mix : lockMixes) {
            if (grabbing)
                XGrabKey(display, static_cast<int>(keycode), modifiers | mix, root, False, GrabModeAsync,
                    GrabModeAsync);
            else
                XUngrabKey(display, static_cast<int>(keycode), modifiers | mix, root);
        }
        XSync(display, False);
        XSetErrorHandler(previous);
        return s_trappedError == 0;
    }
};

std::unique_ptr<X11HotKeys> X11HotKeys::open()
{
    auto connection = std::make_unique<Connection>();
    connection->display = XOpenDisplay(nullptr);
    if (!connection->display)
        return nullptr;
    connection->root = DefaultRootWindow(connection->display);
    Bool detectable = False;
    // Without it a held combination would be reported again at every repeat.
    XkbSetDetectableAutoRepeat(connection->display, True, &detectable);
    if (!detectable)
        logWarning("The X server cannot tell auto-repeat from key presses; a held shortcut may fire again.");
    connection->findLockMixes();
    return std::unique_ptr<X11HotKeys>(new X11HotKeys(std::move(connection)));
}

X11HotKeys::X11HotKeys(std::unique_ptr<Connection> connection)
    : m_connection(std::move(connection))
{
    m_connection->source = g_unix_fd_add(
        ConnectionNumber(m_connection->display), G_IO_IN,
        +[](int, GIOCondition, gpointer self) {
            static_cast<X11HotKeys*>(self)->processEvents();
            return int(G_SOURCE_CONTINUE);
        },
        this);
}

X11HotKeys::~X11HotKeys()
{
    for (const auto& [shortcut, count] : m_grabs) {
        if (auto keysym = KeyTable::keysym(shortcut.carbonKeyCode))
            m_connection->grab(XKeysymToKeycode(m_connection->display, *keysym),
                KeyTable::stateOf(shortcut.carbonModifiers), false);
    }
}

bool X11HotKeys::registerHotKey(const std::string&, const Shortcut& shortcut)
{
    if (auto existing = m_grabs.find(shortcut); existing != m_grabs.end()) {
        ++existing->second;
        return true;
    }
    auto keysym = KeyTable::keysym(shortcut.carbonKeyCode);
    auto keycode = keysym ? XKeysymToKeycode(m_connection->display, *keysym) : 0;
    if (!keycode)
        return false;
    auto modifiers = KeyTable::stateOf(shortcut.carbonModifiers);
    if (!m_connection->grab(keycode, modifiers, true)) {
        // Some lock mixes may have been taken before the refusal: none must stay behind.
        m_connection->grab(keycode, modifiers, false);
        log(LogLevel::Info,
            "Another program holds " + KeyTable::displayName(shortcut) + "; that shortcut is not active.");
        return false;
    }
    m_grabs.emplace(shortcut, 1);
    // Events read while waiting for the grab's answer are in Xlib's queue, not on the socket.
    processEvents();
    return true;
}

void X11HotKeys::unregisterHotKey(const std::string&, const Shortcut& shortcut)
{
    auto found = m_grabs.find(shortcut);
    if (found == m_grabs.end() || --found->second > 0)
        return;
    m_grabs.erase(found);
    if (auto keysym = KeyTable::keysym(shortcut.carbonKeyCode))
        m_connection->grab(XKeysymToKeycode(m_connection->display, *keysym),
            KeyTable::stateOf(shortcut.carbonModifiers), false);
}

void X11HotKeys::setReleaseHandler(ReleaseHandler handler)
{
    m_onRelease = std::move(handler);
}

void X11HotKeys::setEventTimeObserver(std::function<void(std::uint32_t)> observer)
{
    m_onEventTime = std::move(observer);
}

void X11HotKeys::processEvents()
{
    auto* display = m_connection->display;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != KeyPress && event.type != KeyRelease)
            continue;
        auto keycode = event.xkey.keycode;
        if (event.type == KeyPress) {
            auto code = KeyTable::keyCode(
                static_cast<std::uint32_t>(XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0)));
            auto state = event.xkey.state & ~m_connection->ignoredMask();
            if (code)
                m_pressed.insert_or_assign(keycode, Shortcut::of(*code, KeyTable::carbonModifiersOf(state)));
            continue;
        }
        auto pressed = m_pressed.extract(keycode);
        if (!pressed || !m_grabs.contains(pressed.mapped()))
            continue;
        if (m_onEventTime)
            m_onEventTime(static_cast<std::uint32_t>(event.xkey.time));
        if (m_onRelease)
            m_onRelease(pressed.mapped());
    }
}

} // namespace cohortex
