#include "retouch/window_size.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane {
namespace {

TEST(RetouchWindowSizeTest, ClientAndPanelFollowThePicture) {
    struct Case {
        Extent picture, client, panel;
    };
    const Case cases[] = {
        {{100, 80}, {260, 453}, {116, 96}},
        {{640, 480}, {800, 528}, {656, 496}},
        {{50, 416}, {210, 453}, {66, 432}},
        {{50, 417}, {210, 465}, {66, 433}},
        {{1, 1}, {161, 453}, {17, 17}},
    };
    for (const Case& sizeCase : cases) {
        SCOPED_TRACE(std::to_string(sizeCase.picture.width) + " x " + std::to_string(sizeCase.picture.height));
        EXPECT_EQ(RetouchClientSize(sizeCase.picture), sizeCase.client);
        EXPECT_EQ(ImagePanelSize(sizeCase.picture), sizeCase.panel);
    }
}

}  // namespace
}  // namespace quorvane
