// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/OnboardingFlow.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

TEST(OnboardingFlowTest, PrimaryActionWalksFourPagesThenFinishes)
{
    OnboardingFlow flow;
    QSignalSpy finished(&flow, &OnboardingFlow::finished);
    const struct
    {
        int step;
        bool canGoBack;
        QString primaryTitle;
    } pages[] = {
        {0, false, "Continue"},
        {1, true, "Continue"},
        {2, true, "Continue"},
        {3, true, "Start using Binzo"},
    };
    for (const auto &page : pages) {
        EXPECT_EQ(flow.step(), page.step);
        EXPECT_EQ(flow.canGoBack(), page.canGoBack);
        EXPECT_EQ(flow.primaryTitle(), page.primaryTitle);
        EXPECT_TRUE(finished.isEmpty());
        flow.advance();
    }
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(flow.step(), flow.lastStep()) << "finishing leaves the last page in place";
}

TEST(OnboardingFlowTest, BackStopsAtFirstPageAndRestartReturnsThere)
{
    OnboardingFlow flow;
    flow.back();
    EXPECT_EQ(flow.step(), 0);
    flow.advance();
    flow.advance();
    flow.back();
    EXPECT_EQ(flow.step(), 1);
    flow.restart();
    EXPECT_EQ(flow.step(), 0);
    EXPECT_FALSE(flow.canGoBack());
}

} // namespace
