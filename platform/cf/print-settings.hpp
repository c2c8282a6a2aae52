#pragma once
// The print system's settings, session and printer as the panel uses them: a job's
// print settings are one dictionary of values (the "ticket"); the session knows the
// current printer; a printer has its queue ID and device URI.

#include <optional>
#include <string>

#include "value.hpp"

namespace t48::cf {

// Status codes of the print-system calls.
enum PrintStatus : int32_t {
    kPrintNoError = 0,
    kPrintParamErr = -50,           // a missing argument
    kPrintInvalidPrinter = -30882,  // the session has no current printer
    kPrintValueLocked = -30899,     // the settings are locked against changes
};

class PrintSettings {
public:
    PrintSettings();
    explicit PrintSettings(ValueRef dictionary);

    // PMPrintSettingsGetValue: the value under `key`, or null.
    ValueRef getValue(const std::string& key) const;
    // PMPrintSettingsSetValue: stores `value` (null removes the entry). `locked`
    // settings refuse changes with kPrintValueLocked.
    int32_t setValue(const std::string& key, ValueRef value, bool locked = false);

    // The whole dictionary, shared: what the ticket file holds.
    const ValueRef& dictionary() const { return dictionary_; }

private:
    ValueRef dictionary_;
};

class Printer {
public:
    Printer(std::string id, std::string deviceURI)
        : id_(std::move(id)), deviceURI_(std::move(deviceURI)) {}
    // PMPrinterGetID: the queue's identifier.
    const std::string& getID() const { return id_; }
    // PMPrinterCopyDeviceURI: kPrintParamErr when the queue has no device URI.
    int32_t copyDeviceURI(std::string& uri) const;

private:
    std::string id_;
    std::string deviceURI_;
};

class PrintSession {
public:
    PrintSession() = default;
    explicit PrintSession(std::optional<Printer> current) : current_(std::move(current)) {}
    // PMSessionGetCurrentPrinter: kPrintInvalidPrinter when there is none.
    int32_t getCurrentPrinter(const Printer*& printer) const;
    void setCurrentPrinter(std::optional<Printer> printer) { current_ = std::move(printer); }

private:
    std::optional<Printer> current_;
};

}  // namespace t48::cf
