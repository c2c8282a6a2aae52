#include "signal-connection.hpp"

#include <utility>

namespace t48::gtkui {

SignalConnection::SignalConnection(gpointer instance, const char* signal, GCallback handler,
                                   gpointer data, GClosureNotify destroyData)
    : instance_(G_OBJECT(g_object_ref(instance))),
      id_(g_signal_connect_data(instance, signal, handler, data, destroyData, GConnectFlags(0))) {}

SignalConnection::SignalConnection(SignalConnection&& other) noexcept
    : instance_(std::exchange(other.instance_, nullptr)), id_(std::exchange(other.id_, 0)) {}

SignalConnection& SignalConnection::operator=(SignalConnection&& other) noexcept {
    if (this != &other) {
        disconnect();
        instance_ = std::exchange(other.instance_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void SignalConnection::disconnect() {
    if (instance_ == nullptr) {
        return;
    }
    // A widget's destruction has disconnected every handler of it already.
    if (g_signal_handler_is_connected(instance_, id_)) {
        g_signal_handler_disconnect(instance_, id_);
    }
    g_clear_object(&instance_);
    id_ = 0;
}

}  // namespace t48::gtkui
