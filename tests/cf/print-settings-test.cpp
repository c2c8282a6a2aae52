// Print settings share their containers by reference: a change through a dictionary
// held inside them is part of them.

#include <gtest/gtest.h>

#include "print-settings.hpp"

namespace {

using namespace t48::cf;

TEST(PrintSettings, NestedDictionariesAreSharedNotCopied) {
    PrintSettings settings;
    ASSERT_EQ(settings.setValue("T48", Value::dictionary()), kPrintNoError);
    settings.getValue("T48")->set("Q1", Value::string("x"));
    EXPECT_EQ(*settings.dictionary()->get("T48")->get("Q1")->asString(), "x");
}

TEST(PrintSettings, LockedSettingsRefuseAndNullRemoves) {
    PrintSettings settings;
    EXPECT_EQ(settings.setValue("a", Value::string("1"), true), kPrintValueLocked);
    EXPECT_FALSE(settings.getValue("a"));
    settings.setValue("a", Value::string("1"));
    settings.setValue("a", nullptr);
    EXPECT_FALSE(settings.getValue("a"));
}

TEST(PrintSettings, NonDictionaryStartsEmpty) {
    PrintSettings settings(Value::string("no dictionary"));
    EXPECT_TRUE(settings.dictionary()->is(ValueType::Dictionary));
}

TEST(PrintSession, CurrentPrinterAndDeviceURI) {
    PrintSession session;
    const Printer* printer = nullptr;
    EXPECT_EQ(session.getCurrentPrinter(printer), kPrintInvalidPrinter);
    EXPECT_EQ(printer, nullptr);
    session.setCurrentPrinter(Printer("T48_Office", "lpd://127.0.0.1/queue"));
    ASSERT_EQ(session.getCurrentPrinter(printer), kPrintNoError);
    EXPECT_EQ(printer->getID(), "T48_Office");
    std::string uri;
    EXPECT_EQ(printer->copyDeviceURI(uri), kPrintNoError);
    EXPECT_EQ(uri, "lpd://127.0.0.1/queue");
    EXPECT_EQ(Printer("Q", "").copyDeviceURI(uri), kPrintParamErr);
}

}  // namespace
