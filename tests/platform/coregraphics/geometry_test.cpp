#include "coregraphics/CoreGraphics.h"

#include <gtest/gtest.h>

namespace {

TEST(Geometry, MeasuresStandardizeNegativeSizes) {
    CGRect r = CGRectMake(10, 20, -4, -6);
    EXPECT_EQ(CGRectGetMinX(r), 6);
    EXPECT_EQ(CGRectGetMaxX(r), 10);
    EXPECT_EQ(CGRectGetMidY(r), 17);
    EXPECT_EQ(CGRectGetWidth(r), 4);
    EXPECT_EQ(CGRectStandardize(r), CGRectMake(6, 14, 4, 6));
    EXPECT_TRUE(CGRectContainsPoint(r, CGPointMake(6, 14)));
    EXPECT_FALSE(CGRectContainsPoint(r, CGPointMake(10, 14))); // the far edges are outside
    EXPECT_FALSE(CGRectContainsPoint(CGRectNull, CGPointZero));
}

TEST(Geometry, IntersectionUnionAndInsetsFollowTheDevice) {
    struct Row {
        CGRect a, b, intersection, unionRect;
        bool intersects;
    };
    const Row rows[] = {
        {CGRectMake(0, 0, 10, 10), CGRectMake(5, 5, 10, 10), CGRectMake(5, 5, 5, 5), CGRectMake(0, 0, 15, 15),
         true},
        {CGRectMake(0, 0, 10, 10), CGRectMake(10, 0, 5, 5), CGRectMake(10, 0, 0, 5), CGRectMake(0, 0, 15, 10),
         false},
        {CGRectMake(0, 0, 10, 10), CGRectMake(11, 0, 5, 5), CGRectNull, CGRectMake(0, 0, 16, 10), false},
        {CGRectMake(10, 10, -10, -10), CGRectMake(2, 3, 4, 5), CGRectMake(2, 3, 4, 5),
         CGRectMake(0, 0, 10, 10), true},
        {CGRectNull, CGRectMake(2, 3, 4, 5), CGRectNull, CGRectMake(2, 3, 4, 5), false},
    };
    for (const Row& row : rows) {
        CGRect i = CGRectIntersection(row.a, row.b);
        EXPECT_TRUE(CGRectIsNull(row.intersection) ? CGRectIsNull(i) : i == row.intersection);
        EXPECT_EQ(CGRectUnion(row.a, row.b), row.unionRect);
        EXPECT_EQ(CGRectIntersectsRect(row.a, row.b), row.intersects);
    }
    EXPECT_TRUE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(2, 2, 8, 8)));
    EXPECT_FALSE(CGRectContainsRect(CGRectMake(0, 0, 10, 10), CGRectMake(2, 2, 9, 8)));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 10), 2, 3), CGRectMake(2, 3, 6, 4));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 10), -1, 0), CGRectMake(-1, 0, 12, 10));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(CGRectMake(0, 0, 10, 10), 6, 0)));
    EXPECT_EQ(CGRectOffset(CGRectMake(1, 2, 3, 4), 10, -2), CGRectMake(11, 0, 3, 4));
    EXPECT_TRUE(CGRectIsEmpty(CGRectMake(1, 1, 0, 5)));
}

TEST(Geometry, TravelsThroughMessagesWithTheDeviceEncodings) {
    EXPECT_STREQ(objc::TypeEncoding<CGRect>::value, "{CGRect={CGPoint=dd}{CGSize=dd}}");
    EXPECT_EQ((objc::encodingOf<void, CGRect, CGPoint, CGSize>()),
              "v@:{CGRect={CGPoint=dd}{CGSize=dd}}{CGPoint=dd}{CGSize=dd}");
    EXPECT_EQ(CGColorGetComponents(CGColor{0.1, 0.2, 0.3, 0.4}),
              (std::array<CGFloat, 4>{0.1, 0.2, 0.3, 0.4}));
}

} // namespace
