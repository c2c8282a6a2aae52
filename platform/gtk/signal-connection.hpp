#pragma once
// A signal handler connected for as long as its owner holds the connection: its end
// disconnects the handler, unless the instance's dispose did so already. The instance
// is held with the connection, so the handler's id cannot outlive it.

#include <glib-object.h>

namespace t48::gtkui {

class SignalConnection {
public:
    SignalConnection() = default;
    // `destroyData` (may be null) frees `data` when the handler is disconnected.
    SignalConnection(gpointer instance, const char* signal, GCallback handler, gpointer data,
                     GClosureNotify destroyData = nullptr);
    ~SignalConnection() { disconnect(); }
    SignalConnection(SignalConnection&& other) noexcept;
    SignalConnection& operator=(SignalConnection&& other) noexcept;
    SignalConnection(const SignalConnection&) = delete;
    SignalConnection& operator=(const SignalConnection&) = delete;

    void disconnect();

private:
    GObject* instance_ = nullptr;
    gulong id_ = 0;
};

}  // namespace t48::gtkui
