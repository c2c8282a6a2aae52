#pragma once
// What the panel tests share: real PPDs opened through libcups, and a host callback
// object over real print settings and a session.

#include <string>

#include "child-process.hpp"
#include "pde-protocol.hpp"
#include "ppd-file.hpp"

namespace t48::testing {

inline std::string samplePPDPath() {
    return sourceDir() + "/PDE/Resources/T48.ppd";
}
inline std::string dataPath(const std::string& name) {
    return sourceDir() + "/tests/data/" + name;
}
inline std::string builtPluginPath() {
    return binaryDir() + "/PDE/colorpde.so";
}

// An open PPD, closed with the object.
class OpenPPD {
public:
    explicit OpenPPD(const std::string& path) {
        std::string error;
        ppd_ = ppd::openPPDFile(path, error);
        error_ = error;
    }
    ~OpenPPD() { ppd::closePPDFile(ppd_); }
    OpenPPD(const OpenPPD&) = delete;
    OpenPPD& operator=(const OpenPPD&) = delete;
    ppd_file_s* get() const { return ppd_; }
    const std::string& error() const { return error_; }

private:
    ppd_file_s* ppd_ = nullptr;
    std::string error_;
};

class TestHost : public pde::PDEHostCallback {
public:
    explicit TestHost(const std::string& ppdPath, const char* printerID = "T48_Office")
        : ppd_(ppdPath) {
        if (printerID != nullptr) {
            session_.setCurrentPrinter(cf::Printer(printerID, ""));
        }
    }
    cf::PrintSettings* printSettings() override { return &settings_; }
    cf::PrintSession* printSession() override { return &session_; }
    ppd_file_s* ppdFile() override { return ppd_.get(); }
    cf::PrintSettings& settings() { return settings_; }
    cf::PrintSession& session() { return session_; }

private:
    OpenPPD ppd_;
    cf::PrintSettings settings_;
    cf::PrintSession session_;
};

}  // namespace t48::testing
