// Agent faults that the real snmpd cannot be made to show, through the scripted
// responder TEST DOUBLE on loopback.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile-file-fixture.hpp"
#include "scripted-responder.hpp"
#include "snmp-walk.hpp"
#include "spool-list.hpp"

namespace t48::discovery {
namespace {

using testing::ScriptedReply;
using testing::ScriptedRequest;
using testing::ScriptedResponder;
using testing::ScriptedVariable;
using testing::SubIds;
using testing::tableValueName;

// This program's loopback address; each test its own port.
constexpr char kResponderAddress[] = "127.0.6.21";

constexpr uint8_t kGetNext = 0xA1;
constexpr uint8_t kGet = 0xA0;
constexpr int kNoSuchName = 2;
constexpr int kGenErr = 5;

const SubIds kEntry = {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1};
const SubIds kPastTable = {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 14, 0};

ScriptedVariable indexValue(uint32_t row) {
    return {tableValueName(1, row), 0x02, row, {}};
}

class WalkFaultsTest : public testing::ProfileFileTest {
protected:
    int walk(const ScriptedResponder& agent, std::vector<std::string> extra = {},
             bool withRoot = true) {
        std::vector<std::string> args = {"snmpwalk", "-Os", "-c", "fennel", "-v", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(agent.peer());
        if (withRoot) {
            args.push_back("1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1");
        }
        std::vector<const char*> argv;
        for (const std::string& a : args) {
            argv.push_back(a.c_str());
        }
        return mib_walk(static_cast<int>(argv.size()), argv.data());
    }
};

// Answers the n-th GET-NEXT with answers[n-1], then ends the view with noSuchName.
ScriptedResponder::Script sequence(std::vector<std::vector<ScriptedVariable>> answers) {
    return [answers](const ScriptedRequest& r) {
        if (r.pduType != kGetNext || r.number > static_cast<int>(answers.size())) {
            return ScriptedReply{kNoSuchName, {}, false};
        }
        return ScriptedReply{0, answers[r.number - 1], false};
    };
}

TEST_F(WalkFaultsTest, GenErrIsAnAgentError) {
    ScriptedResponder agent(kResponderAddress, 16621, [](const ScriptedRequest& r) {
        if (r.number == 1) {
            return ScriptedReply{0, {indexValue(1)}, false};
        }
        return ScriptedReply{kGenErr, {}, false};
    });
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkAgentError);
    EXPECT_EQ(PlistForSpool.iNum, 1) << "values before the error are kept";
}

TEST_F(WalkFaultsTest, NoSuchNameEndsTheWalkAsComplete) {
    ScriptedResponder agent(kResponderAddress, 16622, sequence({{indexValue(1)}, {indexValue(2)}}));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 2);
    const std::vector<ScriptedRequest> requests = agent.requests();
    ASSERT_EQ(requests.size(), 3u) << "no fallback GET once variables were found";
    EXPECT_EQ(requests[1].name, tableValueName(1, 1));
}

TEST_F(WalkFaultsTest, ARepeatedIdentifierFailsAfterSpoolingItOnceMore) {
    ScriptedResponder agent(kResponderAddress, 16623,
                            sequence({{indexValue(1)}, {indexValue(1)}, {indexValue(2)}}));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkFailed);
    EXPECT_EQ(PlistForSpool.iNum, 2) << "the repeated column-1 value was spooled";
    EXPECT_EQ(agent.requests().size(), 2u);
}

TEST_F(WalkFaultsTest, LetterCSkipsTheOrderingCheckInEveryWalk) {
    ScriptedResponder agent(kResponderAddress, 16624, [](const ScriptedRequest& r) {
        // Each walk: row 1, row 1 again, row 2, then the end of the view.
        if (r.pduType != kGetNext) {
            return ScriptedReply{kNoSuchName, {}, false};
        }
        if (r.name == kEntry) {
            return ScriptedReply{0, {indexValue(1)}, false};
        }
        static int repeats = 0;
        if (r.name == tableValueName(1, 1) && repeats++ % 2 == 0) {
            return ScriptedReply{0, {indexValue(1)}, false};
        }
        if (r.name == tableValueName(1, 1)) {
            return ScriptedReply{0, {indexValue(2)}, false};
        }
        return ScriptedReply{kNoSuchName, {}, false};
    });
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent, {"-Cc"}), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 3);
    EXPECT_EQ(walk(agent, {"-Cc"}), kWalkComplete) << "a second -Cc must not switch it back";
    EXPECT_EQ(walk(agent), kWalkFailed) << "without -Cc the check is back";
}

TEST_F(WalkFaultsTest, AnAgentAnsweringWithoutVariablesIsAskedOnlySoOften) {
    ScriptedResponder agent(kResponderAddress, 16625, [](const ScriptedRequest&) {
        return ScriptedReply{0, {}, false};
    });
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkFailed);
    std::size_t getNexts = 0;
    for (const ScriptedRequest& r : agent.requests()) {
        getNexts += r.pduType == kGetNext ? 1 : 0;
    }
    EXPECT_EQ(getNexts, static_cast<std::size_t>(kMaxStalledRequests));
}

TEST_F(WalkFaultsTest, MalformedNamesAndRowsAreSkippedWithoutEndingTheWalk) {
    SubIds longer = tableValueName(4, 3);
    longer.push_back(9);
    SubIds shorter = tableValueName(4, 4);
    shorter.pop_back();
    ScriptedResponder agent(
        kResponderAddress, 16626,
        sequence({{indexValue(1)},
                  {ScriptedVariable{shorter, 0x04, 0, "SHORT.ICC"}},
                  {ScriptedVariable{tableValueName(4, 0), 0x04, 0, "ZERO.ICC"}},
                  {ScriptedVariable{tableValueName(4, 1), 0x04, 0, "KEPT.ICC"}},
                  {ScriptedVariable{longer, 0x04, 0, "LONG.ICC"}},
                  {ScriptedVariable{tableValueName(4, 501), 0x04, 0, "FAR.ICC"}},
                  {ScriptedVariable{tableValueName(5, 1), 0x04, 0, "wrong type"}}}));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 1);
    EXPECT_STREQ(PlistForSpool.litem[0].FileName, "KEPT.ICC");
    EXPECT_EQ(PlistForSpool.litem[0].iProfileClass, 0);
    for (int i = 1; i < store::kProfileSlots; ++i) {
        ASSERT_EQ(PlistForSpool.litem[i].FileName[0], '\0') << "slot " << i;
    }
}

TEST_F(WalkFaultsTest, IntegersOutsideThirtyTwoBitsMakeTheirRowUnusable) {
    // Row 2 is sound; each other row has one value net-snmp would cut to 32 bits (rows 1,
    // 4 and 5 to a usable 5, 4 and 1).
    struct Row {
        long index, location, profileClass;
    };
    const Row rows[] = {{4294967301, 4, 1}, {2, 4, 1},          {2147483649, 4, 1},
                        {4, 4294967300, 1}, {5, 4, 4294967297}, {-2147483649, 4, 1}};
    std::vector<std::vector<ScriptedVariable>> answers;
    for (uint32_t column : {1u, 2u, 4u, 5u}) {
        for (uint32_t r = 1; r <= 6; ++r) {
            const Row& row = rows[r - 1];
            const long value = column == 1   ? row.index
                               : column == 2 ? row.location
                                             : row.profileClass;
            answers.push_back({column == 4
                                   ? ScriptedVariable{tableValueName(4, r), 0x04, 0,
                                                      "ROW" + std::to_string(r) + ".ICC"}
                                   : ScriptedVariable{tableValueName(column, r), 0x02, value, {}}});
        }
    }
    ScriptedResponder agent(kResponderAddress, 16632, sequence(answers));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 6) << "every row is counted";
    testing::ProfileFile file = load();
    EXPECT_EQ(file.rgb().iNum, 1);
    EXPECT_NE(testing::findEntry(file.rgb(), "ROW2.ICC"), nullptr);
}

TEST_F(WalkFaultsTest, TheCountNeverPassesFiveHundred) {
    ScriptedResponder agent(kResponderAddress, 16627, [](const ScriptedRequest& r) {
        if (r.number > 700) {
            return ScriptedReply{kNoSuchName, {}, false};
        }
        return ScriptedReply{0, {indexValue(1 + (r.number - 1) % 500)}, false};
    });
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent, {"-Cc"}), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, store::kProfileSlots);
}

TEST_F(WalkFaultsTest, AnEndOfMibViewValueStopsTheWalk) {
    ScriptedResponder agent(kResponderAddress, 16628, [](const ScriptedRequest& r) {
        if (r.number == 1) {
            return ScriptedReply{0, {indexValue(1)}, false};
        }
        if (r.number == 2) {
            return ScriptedReply{0, {ScriptedVariable{tableValueName(1, 2), 0x82, 0, {}}}, false};
        }
        return ScriptedReply{0, {ScriptedVariable{kPastTable, 0x02, 1, {}}}, false};
    });
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent), kWalkComplete);
    EXPECT_EQ(agent.requests().size(), 2u) << "endOfMibView ends it";
}

TEST_F(WalkFaultsTest, AnEmptyTableIsFollowedByOneGetOfTheRoot) {
    ScriptedResponder agent(kResponderAddress, 16629, [](const ScriptedRequest& r) {
        if (r.pduType == kGet) {
            return ScriptedReply{0, {ScriptedVariable{kEntry, 0x02, 5, {}}}, false};
        }
        return ScriptedReply{0, {ScriptedVariable{kPastTable, 0x02, 1, {}}}, false};
    });
    ASSERT_TRUE(agent.listening());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(walk(agent), kWalkComplete);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    const std::vector<ScriptedRequest> requests = agent.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].pduType, kGet);
    EXPECT_EQ(requests[1].name, kEntry);
    EXPECT_NE(printed.find("= INTEGER: 5"), std::string::npos) << printed;
    EXPECT_EQ(PlistForSpool.iNum, 0) << "what the GET prints is not spooled";
}

TEST_F(WalkFaultsTest, WithoutARootTheWalkCoversMib2) {
    ScriptedResponder agent(kResponderAddress, 16630, sequence({}));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent, {}, false), kWalkComplete);
    ASSERT_FALSE(agent.requests().empty());
    EXPECT_EQ(agent.requests()[0].name, (SubIds{1, 3, 6, 1, 2, 1}));
}

TEST_F(WalkFaultsTest, LetterIAsksForTheRootBeforeTheWalk) {
    ScriptedResponder agent(kResponderAddress, 16631, sequence({{indexValue(1)}}));
    ASSERT_TRUE(agent.listening());
    EXPECT_EQ(walk(agent, {"-Ci"}), kWalkComplete);
    ASSERT_GE(agent.requests().size(), 2u);
    EXPECT_EQ(agent.requests()[0].pduType, kGet);
    EXPECT_EQ(agent.requests()[1].pduType, kGetNext);
}

}  // namespace
}  // namespace t48::discovery
