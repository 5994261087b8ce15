// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkRouter.h"

#include <gtest/gtest.h>

namespace {

TEST(LinkRouter, AcceptsOpenByHostOrPathOnly)
{
    const std::pair<const char *, bool> cases[] = {
        {"binzo://open", true},    {"binzo:open", true},
        {"binzo://open/", true},   {"binzo://open?from=menu", true},
        {"binzo:open#top", true},  {"binzo://user@open:80", true},
        {"binzo://%6Fpen", true},  {"binzo:///open", false}, // the path is "/open"
        {"binzo://close", false},  {"BINZO://open", false}, // the scheme is case-sensitive
        {"binzo://OPEN", false}, // and so is the host
        {"binzo://opener", false}, {"binzo://x/open", false},
        {"binzo:", false},         {"binzo", false},
        {"https://open", false},   {"", false},
    };
    for (const auto &[link, accepted] : cases)
        EXPECT_EQ(LinkRouter::opensPanel(QString::fromUtf8(link)), accepted) << link;
}

} // namespace
