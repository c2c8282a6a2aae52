#include "host-session.hpp"

#include "ticket-file.hpp"

namespace t48::host {

bool HostSession::open(const HostOptions& options, std::string& error) {
    ticket_ = options.ticket;
    panelSession_ = hosting::PanelSession::open(options.printer, settings_, error);
    if (!panelSession_) {
        return false;
    }
    bool ticketRead = false;
    if (ticket_ && !hosting::readTicketFile(*ticket_, settings_, ticketRead, error)) {
        return false;
    }
    if (hosting::PrintQueue* queue = panelSession_->queue(); queue != nullptr && !ticketRead) {
        panelSession_->startFromOptions(queue->destinationOptions());
    }
    return plugin_.open(options.plugin, error) && panelSession_->makePanel(plugin_, error);
}

void HostSession::begin() {
    panelSession_->begin();
    panel().willShow();
}

bool HostSession::end(std::string& error) {
    panelSession_->close();
    return !ticket_ || hosting::writeTicketFile(*ticket_, settings_, error);
}

}  // namespace t48::host
