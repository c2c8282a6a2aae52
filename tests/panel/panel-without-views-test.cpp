// A panel whose interface definition cannot be loaded. The only way the definition
// fails is that its objects cannot be allocated, which no real part can be made to
// show on demand: this program replaces the nothrow allocation (a test double) so that
// it fails while the flag is set.

#include <gtest/gtest.h>

#include <new>

#include "panel-test-support.hpp"
#include "pde-bundle.hpp"
#include "pde-plugin.hpp"

namespace {
bool gFailNothrowNew = false;
}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (gFailNothrowNew) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {

using namespace t48::pde;

TEST(PanelWithoutViews, AnswersOnlyAnEmptyDisplayOrderAndDoesNothingElse) {
    holdPluginBundle(t48::bundle::Bundle::forLibraryPath(t48::testing::builtPluginPath()));
    t48::testing::TestHost host(t48::testing::samplePPDPath());
    PDEPlugInInterface panel(&host);
    gFailNothrowNew = true;
    const t48::cf::ValueRef summary = panel.summaryInfo();
    EXPECT_EQ(panel.panelView(), nullptr);
    gFailNothrowNew = false;

    ASSERT_TRUE(summary);
    ASSERT_EQ(summary->asDictionary()->size(), 1u);
    const t48::cf::ValueRef order = summary->get(kPDESummaryDisplayOrder);
    ASSERT_TRUE(order && order->asArray());
    EXPECT_TRUE(order->asArray()->empty());

    EXPECT_TRUE(panel.shouldPrint());
    EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
    EXPECT_TRUE(host.settings().dictionary()->asDictionary()->empty());
}

}  // namespace
