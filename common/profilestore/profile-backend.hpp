#pragma once
// The seam between the store operations and the side that performs the file work.
//
// Every store operation that writes, deletes or tests write access goes through these
// functions and nothing else. Each deliverable links exactly one definition of them:
// service-backend.cpp (library t48_profilestore: works on the files directly, on the
// paths of the running walk request) or the panel's forwarding backend (through the
// helper, on the real user's paths). Callers of the store never see the difference.

#include <string>
#include <string_view>

namespace t48::store::backend {

// Paths the readers and the operations below work on, in the preferences folder.
std::string currentPath();
std::string previousPath();
// The user those files are named for, and belong to.
std::string fileUser();

// 1 when the current file may be written, else 0.
int writeTest();
// 1 when the current file opens for reading, else 0. Called after a passed write test.
int existsCurrent();
// Removes `path` (the current or the previous file). 1 when removed, else 0.
int removePath(const std::string& path);
// Swap mode 0, 1 or 2 (other modes are filtered out before). Failures are not reported.
void swapFiles(int mode);
// Replaces the current file by `xml`, the serialised property list. kStoreOK /
// kStoreFailed; on failure the current file is as it was.
int saveCurrent(std::string_view xml);

}  // namespace t48::store::backend
