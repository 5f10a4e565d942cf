#pragma once
// The benchmark's photo: a small sample decoded once and enlarged with a smooth
// bicubic resize to the size under test, then handed to each side in its layout.

#include "Operations.h"

#include <opencv2/core.hpp>

#include <string>

struct _VipsImage;

class CTestPicture {
public:
    // Throws std::runtime_error when the sample cannot be decoded.
    CTestPicture(const std::string& samplePath, int width, int height);
    ~CTestPicture();
    CTestPicture(const CTestPicture&) = delete;
    CTestPicture& operator=(const CTestPicture&) = delete;

    const OurPicture& Ours() const { return m_ours; }
    const cv::Mat& Bgr() const { return m_bgr; }
    _VipsImage* Rgb() const { return m_vips; }

private:
    cv::Mat m_bgr;
    cv::Mat m_rgb;  // the pixels that m_vips wraps
    OurPicture m_ours;
    _VipsImage* m_vips = nullptr;
};
