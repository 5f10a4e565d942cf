#include "TestPicture.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <vips/vips.h>

#include <cstring>
#include <stdexcept>

CTestPicture::CTestPicture(const std::string& samplePath, int width, int height)
{
    const cv::Mat sample = cv::imread(samplePath, cv::IMREAD_COLOR);
    if (sample.empty()) throw std::runtime_error("cannot decode " + samplePath);
    cv::resize(sample, m_bgr, cv::Size(width, height), 0, 0, cv::INTER_CUBIC);
    cv::cvtColor(m_bgr, m_rgb, cv::COLOR_BGR2RGB);

    cv::Mat bgrx;
    cv::cvtColor(m_bgr, bgrx, cv::COLOR_BGR2BGRA);
    m_ours.width = width;
    m_ours.height = height;
    m_ours.pixels.resize(static_cast<size_t>(width) * height);
    std::memcpy(m_ours.pixels.data(), bgrx.data, m_ours.pixels.size() * 4);

    m_vips = vips_image_new_from_memory(m_rgb.data, m_rgb.total() * 3, width, height, 3, VIPS_FORMAT_UCHAR);
    if (m_vips == nullptr) throw std::runtime_error(vips_error_buffer());
    // Raw memory carries no colour space; sharpening needs to know it is sRGB.
    m_vips->Type = VIPS_INTERPRETATION_sRGB;
}

CTestPicture::~CTestPicture()
{
    g_object_unref(m_vips);
}
