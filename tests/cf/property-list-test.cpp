// The ticket file format: XML property lists written by us and read back, read by an
// independent reader (Python's plistlib), and refused when a string is not UTF-8.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "child-process.hpp"
#include "property-list.hpp"
#include "utf8-text.hpp"

namespace {

using namespace t48::cf;
using t48::testing::TempDir;

ValueRef sampleTicket() {
    ValueRef model = Value::dictionary(
        {{"ZTQuickColor", Value::string("Vivid")}, {"ZTColorAsGray", Value::string("False")}});
    return Value::dictionary({
        {"T48", Value::dictionary({{"Q1", model}})},
        {"ZTQuickColor", Value::string("Vivid")},
        {"copies", Value::integer(-3)},
        {"scale", Value::real(0.5)},
        {"collate", Value::boolean(true)},
        {"blob", Value::data({0, 1, 2, 255})},
        {"list", Value::array({Value::string("Grün"), Value::integer(7)})},
    });
}

class PropertyListFile : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(PropertyListFile, WrittenTicketReadsBackEqual) {
    const std::string path = dir.file("ticket.plist");
    ASSERT_EQ(writePropertyListFile(path, *sampleTicket()), kPlistNoError);
    ValueRef back;
    ASSERT_EQ(readPropertyListFile(path, back), kPlistNoError);
    ASSERT_TRUE(back && back->is(ValueType::Dictionary));
    EXPECT_EQ(*back->get("T48")->get("Q1")->get("ZTQuickColor")->asString(), "Vivid");
    EXPECT_EQ(*back->get("copies")->asInteger(), -3);
    EXPECT_DOUBLE_EQ(*back->get("scale")->asReal(), 0.5);
    EXPECT_TRUE(*back->get("collate")->asBoolean());
    EXPECT_EQ(*back->get("blob")->asData(), (Data{0, 1, 2, 255}));
    EXPECT_EQ(*back->get("list")->asArray()->at(0)->asString(), "Grün");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(PropertyListFile, AnIndependentReaderSeesTheSameTicket) {
    const std::string path = dir.file("ticket.plist");
    ASSERT_EQ(writePropertyListFile(path, *sampleTicket()), kPlistNoError);
    const auto result = t48::testing::runProgram(
        {"/usr/bin/python3", "-c",
         "import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb'));"
         "print(d['T48']['Q1']['ZTColorAsGray'], d['copies'], d['list'][0], d['blob'].hex())",
         path});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "False -3 Grün 000102ff\n");
}

TEST_F(PropertyListFile, MissingFileIsNotFoundAndGarbageIsMalformed) {
    ValueRef out;
    EXPECT_EQ(readPropertyListFile(dir.file("none.plist"), out), kPlistFileNotFound);
    std::ofstream(dir.file("bad.plist")) << "this is not a property list";
    EXPECT_EQ(readPropertyListFile(dir.file("bad.plist"), out), kPlistMalformed);
    EXPECT_FALSE(out);
}

TEST_F(PropertyListFile, StringsThatAreNotUTF8AreRefusedBothWays) {
    ValueRef bad = Value::dictionary({{"ZTQuickColor", Value::string("Vivid\xFF")}});
    const std::string path = dir.file("ticket.plist");
    EXPECT_EQ(writePropertyListFile(path, *bad), kPlistMalformed);
    EXPECT_FALSE(std::filesystem::exists(path));

    std::ofstream(path)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>k</key><string>\xC0\xAF</string></dict></plist>\n";
    ValueRef out;
    EXPECT_EQ(readPropertyListFile(path, out), kPlistMalformed);
}

TEST(PropertyListText, AStringWithANulInsideIsMalformed) {
    ValueRef out;
    const std::string xml("<plist><array><string>a\0b</string></array></plist>", 50);
    EXPECT_EQ(propertyListFromXML(xml, out), kPlistMalformed);
    EXPECT_FALSE(out);
}

struct Utf8Case {
    const char* text;
    bool valid;
};
class Utf8Check : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Check, Classifies) {
    EXPECT_EQ(t48::text::isValidUtf8(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Check,
                         ::testing::Values(Utf8Case{"plain", true}, Utf8Case{"Grün", true},
                                           Utf8Case{"ジャパン", true},
                                           Utf8Case{"\xF0\x9F\x96\xA8", true},
                                           Utf8Case{"\xC3", false},              // cut short
                                           Utf8Case{"\xC0\xAF", false},          // overlong
                                           Utf8Case{"\xED\xA0\x80", false},      // surrogate
                                           Utf8Case{"\xF4\x90\x80\x80", false},  // past U+10FFFF
                                           Utf8Case{"\xFF", false}));

}  // namespace
