// The walk request through the real T48Helper and xpcservice against the real snmpd serving
// a simulated T48 printer on loopback (127.0.7.11 and .12).

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::testing {
namespace {

struct PrinterAddress {
    const char* address;
    int port;
};
constexpr PrinterAddress kFirstPrinter = {"127.0.7.11", 16711};
constexpr PrinterAddress kSecondPrinter = {"127.0.7.12", 16712};

struct StoredLists {
    int result = store::kStoreFailed;
    store::ProfileList lists[store::kProfileClassCount];
};

class ServiceWalk : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root_.root().c_str(), 1);
        ASSERT_TRUE(root_.startService());
    }
    void TearDown() override { unsetenv("T48_ROOT"); }

    std::unique_ptr<SnmpdPrinter> startPrinter(const PrinterAddress& at, TempDir& dir,
                                               const std::vector<SimRow>& rows) {
        auto printer = std::make_unique<SnmpdPrinter>(dir.path(), at.address, at.port, rows);
        EXPECT_TRUE(printer->started()) << "snmpd did not come up on " << printer->peer();
        return printer;
    }

    // The panel's walk request for `user`, aimed at `peer`.
    RunResult walk(const std::string& user, const std::string& peer,
                   const std::string& model = "T48") {
        return root_.helper({"mibwalk_XPC", model, user, "snmpwalk", "-Os", "-c", "fennel", "-v",
                             "1", peer, kProfileTableEntry});
    }

    // The three lists of `user`'s file, read by the store.
    StoredLists stored(const std::string& user, const std::string& model = "T48") {
        auto lists = std::make_unique<StoredLists>();
        std::memset(lists->lists, 0, sizeof lists->lists);
        if (store::setServiceProfilePaths(user, model) == store::kStoreOK) {
            lists->result =
                store::ZTPListReadProfile_All(&lists->lists[0], &lists->lists[1], &lists->lists[2]);
        }
        return *lists;
    }

    static bool holds(const store::ProfileList& list, const char* fileName, int32_t state) {
        for (int i = 0; i < list.iNum; ++i) {
            if (std::strcmp(list.litem[i].FileName, fileName) == 0) {
                return list.litem[i].iInMenu == state;
            }
        }
        return false;
    }

    ServiceRoot root_;
    TempDir firstDir_;
    TempDir secondDir_;
};

TEST_F(ServiceWalk, MergesThePrintersProfilesIntoTheUsersFile) {
    auto printer = startPrinter(
        kFirstPrinter, firstDir_,
        {{1, 4, "Photo", "PHOTO.ICC", 1, 0, 1}, {2, 5, "Press", "PRESS.ICC", 3, 0, 1}});
    RunResult result = walk("root", printer->peer());
    EXPECT_EQ(result.out, "mibwalk_XPC=iRet=0\n") << result.err;
    StoredLists file = stored("root");
    ASSERT_EQ(file.result, store::kStoreOK);
    EXPECT_TRUE(holds(file.lists[store::kClassRGB], "PHOTO.ICC", store::kStatePrinterConfirmed));
    EXPECT_TRUE(holds(file.lists[store::kClassSIM], "PRESS.ICC", store::kStatePrinterConfirmed));
    EXPECT_TRUE(holds(file.lists[store::kClassDST], "PRESS.ICC", store::kStatePrinterConfirmed));
    // The log line goes to the system log and, for a service started by hand, to its
    // standard error.
    EXPECT_NE(readFile(root_.root() + "/service.log").find("xpc - mibwalk_XPC - iRet=0"),
              std::string::npos);
    // Walks leave nothing behind that keeps the service from ending cleanly (under the
    // leak checker, a leak would show in the exit status).
    int status = root_.service()->stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(ServiceWalk, UserAndModelNameTheFile) {
    auto printer = startPrinter(kFirstPrinter, firstDir_, {{1, 4, "Photo", "PHOTO.ICC", 1, 0, 1}});
    EXPECT_EQ(walk("daemon", printer->peer()).out, "mibwalk_XPC=iRet=0\n");
    EXPECT_TRUE(fileExists(root_.currentPath("daemon")));
    EXPECT_FALSE(fileExists(root_.currentPath("root")));
    EXPECT_EQ(walk("root", printer->peer(), "X9").out, "mibwalk_XPC=iRet=0\n");
    EXPECT_TRUE(fileExists(root_.preferencesFolder() + "/root-X9-profile.plist"));
    EXPECT_FALSE(fileExists(root_.currentPath("root")));
}

TEST_F(ServiceWalk, TheTextAfterTheLastArgumentMarkerIsDropped) {
    // With its marker the agent is walked (and does not answer, 1); without it the walk
    // has no agent (usage, -1).
    EXPECT_EQ(root_.rawRequest("mibwalk_XPC",
                               "T48:ModelName:ENDroot:USErName:ENDsnmpwalk:arg:-t:arg:0.2:arg:-r:"
                               "arg:0:arg:127.0.7.13:16713:arg:",
                               0),
              "iRet=1");
    EXPECT_EQ(root_.rawRequest("mibwalk_XPC",
                               "T48:ModelName:ENDroot:USErName:ENDsnmpwalk:arg:-t:arg:0.2:arg:-r:"
                               "arg:0:arg:127.0.7.13:16713",
                               0),
              "iRet=-1");
}

TEST_F(ServiceWalk, OptionsAProfileTableWalkDoesNotNeedAreRefusedBeforeAnyWalk) {
    const std::string silent = "127.0.7.13:16713";
    const std::string elsewhere = root_.root() + "/elsewhere.log";
    const std::vector<std::vector<std::string>> refused = {
        {"-Lf", elsewhere, silent, kProfileTableEntry},
        {silent, kProfileTableEntry, "-Lf" + elsewhere},
        {"-m", "ALL", silent},
        {"-M", root_.root(), silent},
        {"-v", "2c", silent},
        {"-Cx", silent},
        {"-d", silent},
        {"-V"},
        {"--", silent},
        {silent, "-c"},
    };
    for (const std::vector<std::string>& tail : refused) {
        std::vector<std::string> request = {"mibwalk_XPC", "T48", "root",  "snmpwalk",
                                            "-Os",         "-c",  "fennel"};
        request.insert(request.end(), tail.begin(), tail.end());
        EXPECT_EQ(root_.helper(request).out, "mibwalk_XPC=iRet=-1\n") << tail.front();
    }
    EXPECT_FALSE(fileExists(elsewhere));
    EXPECT_FALSE(fileExists(root_.currentPath("root"))) << "a refused request merged";

    // Every option a walk needs, in each of its spellings, is taken.
    EXPECT_EQ(root_
                  .helper({"mibwalk_XPC", "T48", "root", "snmpwalk", "-Oq", "-cfennel", "-v1", "-t",
                           "0.2", "-r0", "-Ccp", "-C", "i", silent, kProfileTableEntry})
                  .out,
              "mibwalk_XPC=iRet=1\n");
}

TEST_F(ServiceWalk, AnUnansweredWalkStillMergesAndReportsFailure) {
    RunResult result = walk("root", "127.0.7.13:16713");
    EXPECT_EQ(result.out, "mibwalk_XPC=iRet=1\n") << result.err;
    EXPECT_NE(readFile(root_.root() + "/service.log").find("xpc - mibwalk_XPC - iRet=1"),
              std::string::npos);
    EXPECT_EQ(stored("root").result, store::kStoreOK);
}

TEST_F(ServiceWalk, WalksOfTwoUsersAtOnceKeepTheirOwnFiles) {
    auto first = startPrinter(kFirstPrinter, firstDir_, {{1, 4, "One", "ONE.ICC", 1, 0, 1}});
    auto second = startPrinter(kSecondPrinter, secondDir_, {{1, 4, "Two", "TWO.ICC", 1, 0, 1}});
    for (int round = 0; round < 4; ++round) {
        RunResult a, b;
        std::thread other([&] { b = walk("daemon", second->peer()); });
        a = walk("root", first->peer());
        other.join();
        EXPECT_EQ(a.out, "mibwalk_XPC=iRet=0\n");
        EXPECT_EQ(b.out, "mibwalk_XPC=iRet=0\n");
    }
    StoredLists rootFile = stored("root");
    StoredLists daemonFile = stored("daemon");
    EXPECT_TRUE(holds(rootFile.lists[store::kClassRGB], "ONE.ICC", store::kStatePrinterConfirmed));
    EXPECT_FALSE(holds(rootFile.lists[store::kClassRGB], "TWO.ICC", store::kStatePrinterConfirmed));
    EXPECT_TRUE(
        holds(daemonFile.lists[store::kClassRGB], "TWO.ICC", store::kStatePrinterConfirmed));
    EXPECT_FALSE(
        holds(daemonFile.lists[store::kClassRGB], "ONE.ICC", store::kStatePrinterConfirmed));
    EXPECT_EQ(rootFile.lists[store::kClassRGB].iNum, 1);
    EXPECT_EQ(daemonFile.lists[store::kClassRGB].iNum, 1);
}

// Every walk of one user, from any dialog or pdehost, goes through the user's one service,
// which runs one walk at a time: the printer is asked for its table once, then once again.
TEST_F(ServiceWalk, TwoWalksOfOneUserAtOnceComeOneAfterTheOther) {
    auto printer = startPrinter(kFirstPrinter, firstDir_, generatedRows(50));
    RunResult a, b;
    std::thread other([&] { b = walk("root", printer->peer()); });
    a = walk("root", printer->peer());
    other.join();
    EXPECT_EQ(a.out, "mibwalk_XPC=iRet=0\n");
    EXPECT_EQ(b.out, "mibwalk_XPC=iRet=0\n");
    // A walk asks for the table's values in order from its root: a second walk running
    // beside the first would ask for the root again amid the first's requests.
    const std::string requests = printer->requestLog();
    const std::size_t second = requests.find(requests.substr(0, requests.find('\n') + 1), 1);
    ASSERT_NE(second, std::string::npos) << requests;
    EXPECT_EQ(requests.substr(0, second), requests.substr(second)) << requests;
}

}  // namespace
}  // namespace t48::testing
