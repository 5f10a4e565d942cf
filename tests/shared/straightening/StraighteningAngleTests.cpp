// The straightening detection as a whole, on pictures whose tilt is known: lines
// drawn at a chosen angle, and a real photograph turned by Qt. Also its answers for
// pictures it cannot judge, its progress count and its stop.

#include "tests/shared/straightening/KnownTilts.h"


#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// The drawn lines are recovered to about a hundredth of a degree; a tenth leaves room
// for harmless changes and still catches a wrong rounding or fold.
constexpr double kTolerance = 0.1;  // degrees

std::string Describe(const LinePattern& pattern)
{
    return std::to_string(pattern.degrees) + " degrees, " + (pattern.upright ? "upright" : "level") + ", " +
           (pattern.smooth ? "smooth" : "hard");
}

// Every (done, total) the detection reported, answering false at call stopAt.
struct Reports {
    std::vector<std::pair<int, int>> calls;
    int stopAt = -1;

    UnitReport Report()
    {
        return [this](int done, int total) {
            calls.emplace_back(done, total);
            return static_cast<int>(calls.size()) - 1 != stopAt;
        };
    }
};

// height + 2 x working width + 6 x working height + 98.
int AnnouncedTotal(int height, int workingWidth, int workingHeight)
{
    return height + 2 * workingWidth + 6 * workingHeight + 98;
}

} // namespace

// ---------------------------------------------------------------- known tilts

TEST(StraighteningAngle, RecoversTheTiltOfLevelAndUprightLinesWithItsSign)
{
    for (const bool upright : {false, true}) {
        for (const double degrees : {-7.0, -3.0, -2.0, 2.0, 3.0, 7.0}) {
            for (const bool smooth : {true, false}) {
                const LinePattern pattern{.degrees = degrees, .upright = upright, .smooth = smooth};
                SCOPED_TRACE(Describe(pattern));
                const auto picture = TiltedLines(400, 300, pattern);
                EXPECT_NEAR(Degrees(DetectedTilt(picture.Get())), degrees, kTolerance);
            }
        }
    }
}

// The working size is at most 640 on the longer side: a large picture is judged on
// its reduction, and its tilt survives it.
TEST(StraighteningAngle, RecoversTheTiltOfALargePicture)
{
    for (const double degrees : {-4.0, 5.0}) {
        const LinePattern pattern{.degrees = degrees, .spacing = 90, .halfWidth = 3.0};
        SCOPED_TRACE(Describe(pattern));
        const auto picture = TiltedLines(1600, 1200, pattern);
        EXPECT_NEAR(Degrees(DetectedTilt(picture.Get())), degrees, kTolerance);
    }
}

TEST(StraighteningAngle, LevelLinesAndUniformPicturesHaveNoTilt)
{
    const auto level = TiltedLines(400, 300, LinePattern{});
    EXPECT_NEAR(Degrees(DetectedTilt(level.Get())), 0.0, 0.05);

    for (const uint32_t pixel : {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0x00FF8000u}) {
        const auto uniform = MakeImage(400, 300, [pixel](int, int) { return pixel; });
        EXPECT_EQ(DetectedTilt(uniform.Get()), 0.0f) << std::hex << pixel;
    }
}

TEST(StraighteningAngle, LeavesThePixelsAlone)
{
    const auto picture = TiltedLines(200, 150, LinePattern{.degrees = 4.0});
    const auto copy = TiltedLines(200, 150, LinePattern{.degrees = 4.0});
    EXPECT_NE(DetectedTilt(picture.Get()), 0.0f);
    EXPECT_EQ(std::vector<uint8_t>(picture->GetPixels(), picture->GetPixels() + picture->GetBufferSize()),
              std::vector<uint8_t>(copy->GetPixels(), copy->GetPixels() + copy->GetBufferSize()));
}

// ---------------------------------------------------------------- what it cannot judge

// 8 pixels or fewer on a working axis: 400 x 8 stays as it is; 2000 x 25 works at
// 640 x 8 (25 x 0.32). Nothing is reported for them; 9 rows are analysed.
TEST(StraighteningAngle, PicturesEightPixelsOrLessAcrossGiveZeroWithoutReports)
{
    const LinePattern steep{.degrees = 30.0, .spacing = 5, .halfWidth = 1.0};
    const LinePattern upright{.degrees = 30.0, .upright = true, .spacing = 5, .halfWidth = 1.0};
    for (const auto& [width, height, pattern] : {std::tuple{400, 8, steep}, std::tuple{8, 400, upright},
                                                 std::tuple{2000, 25, steep}, std::tuple{1, 1, steep}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const auto picture = TiltedLines(width, height, pattern);
        Reports reports;
        EXPECT_EQ(DetectedTilt(picture.Get(), reports.Report()), 0.0f);
        EXPECT_TRUE(reports.calls.empty());
    }

    const auto nine = TiltedLines(400, 9, steep);
    Reports reports;
    DetectedTilt(nine.Get(), reports.Report());
    ASSERT_FALSE(reports.calls.empty());
    EXPECT_EQ(reports.calls.front(), std::make_pair(0, AnnouncedTotal(9, 400, 9)));
}

// ---------------------------------------------------------------- progress and stop

TEST(StraighteningAngle, ReportsRisingUnitsAgainstTheAnnouncedTotal)
{
    struct Size {
        int width, height, workingWidth, workingHeight;
    };
    // 1280 x 960 and 1280 x 640 halve exactly to 640 x 480 and 640 x 320.
    for (const Size size : {Size{400, 300, 400, 300}, Size{1280, 960, 640, 480}, Size{1280, 640, 640, 320}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const auto picture = TiltedLines(size.width, size.height, LinePattern{.degrees = 3.0});
        Reports reports;
        EXPECT_NE(DetectedTilt(picture.Get(), reports.Report()), 0.0f);
        const int total = AnnouncedTotal(size.height, size.workingWidth, size.workingHeight);
        ASSERT_FALSE(reports.calls.empty());
        EXPECT_EQ(reports.calls.front().first, 0);
        for (size_t i = 0; i < reports.calls.size(); ++i) {
            ASSERT_EQ(reports.calls[i].second, total) << "call " << i;
            if (i > 0) {
                ASSERT_GT(reports.calls[i].first, reports.calls[i - 1].first) << "call " << i;
            }
        }
        EXPECT_LT(reports.calls.back().first, total);
        // Every source row is read, so there are more reports than rows.
        EXPECT_GT(static_cast<int>(reports.calls.size()), size.height);
    }
}

TEST(StraighteningAngle, AStopAnswersZeroAndReportsNoMore)
{
    const auto picture = TiltedLines(400, 300, LinePattern{.degrees = 3.0});
    Reports full;
    ASSERT_NE(DetectedTilt(picture.Get(), full.Report()), 0.0f);
    const int count = static_cast<int>(full.calls.size());
    for (const int stopAt : {0, 150, count / 2, count - 1}) {
        SCOPED_TRACE("stop at report " + std::to_string(stopAt));
        Reports stopped;
        stopped.stopAt = stopAt;
        EXPECT_EQ(DetectedTilt(picture.Get(), stopped.Report()), 0.0f);
        EXPECT_EQ(static_cast<int>(stopped.calls.size()), stopAt + 1);
    }
}

// The section form tells a sink how the detection ended: a full run finishes well,
// whatever the angle; a stop, a picture too small and a handle without pixels do not.
TEST(StraighteningAngle, TheSectionFormFinishesTheSink)
{
    const auto finished = [](HBITMAP section, int cancelAtStep, float& angle) {
        auto progress = CComPtr<CRecordingProgress>::Adopt(CRecordingProgress::Create(cancelAtStep));
        angle = DetectStraighteningAngle(section, progress.Get(), kStraighteningEdgePadding, kStraighteningThreshold);
        EXPECT_EQ(progress->CountOf(CRecordingProgress::Call::Finish), 1);
        const auto& events = progress->Events();
        EXPECT_EQ(events.back().call, CRecordingProgress::Call::Finish);
        return events.back().success;
    };
    float angle = 1.0f;
    const auto tilted = TiltedLines(400, 300, LinePattern{.degrees = -3.0});
    EXPECT_TRUE(finished(tilted->GetBitmap(), CRecordingProgress::kNeverCancel, angle));
    EXPECT_NEAR(Degrees(angle), -3.0, kTolerance);
    EXPECT_EQ(angle, DetectedTilt(tilted.Get())) << "the section form measures the same rows";

    const auto uniform = MakeImage(400, 300, [](int, int) { return GreyPixel(128); });
    EXPECT_TRUE(finished(uniform->GetBitmap(), CRecordingProgress::kNeverCancel, angle));
    EXPECT_EQ(angle, 0.0f);

    EXPECT_FALSE(finished(tilted->GetBitmap(), 100, angle));
    EXPECT_EQ(angle, 0.0f);

    const auto small = TiltedLines(400, 8, LinePattern{.degrees = -3.0});
    EXPECT_FALSE(finished(small->GetBitmap(), CRecordingProgress::kNeverCancel, angle));
    EXPECT_EQ(angle, 0.0f);

    EXPECT_FALSE(finished(nullptr, CRecordingProgress::kNeverCancel, angle));
    EXPECT_EQ(angle, 0.0f);
    EXPECT_EQ(DetectStraighteningAngle(nullptr, nullptr, kStraighteningEdgePadding, kStraighteningThreshold), 0.0f);
}

// ---------------------------------------------------------------- a real photograph

// A building seen at a slant: its strongest straight direction is the line of its
// eaves, which climbs to the right at roughly a third of a right angle, and the
// detection reports that rather than the leaning walls. Turned by Qt, the photo must
// move the detected angle by the turn, either way.
TEST(StraighteningAngle, FollowsATurnOfARealPhotograph)
{
    const QImage photo = SharedPhoto("home.jpg");
    if (photo.isNull()) GTEST_SKIP() << "the shared photographs are not beside the source tree";
    constexpr int kWidth = 440;
    constexpr int kHeight = 330;
    const double own = Degrees(DetectedTilt(TurnedPhoto(photo, 0.0, kWidth, kHeight).Get()));
    EXPECT_GT(own, 25.0);
    EXPECT_LT(own, 40.0);
    for (const double degrees : {-4.0, 4.0}) {
        SCOPED_TRACE(std::to_string(degrees) + " degrees");
        const double detected = Degrees(DetectedTilt(TurnedPhoto(photo, degrees, kWidth, kHeight).Get()));
        EXPECT_NEAR(detected, own + degrees, 0.6);
    }
}
