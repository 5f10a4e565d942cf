#include "refhost/PhotoBatch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

bool CPhotoBatch::IsPhotoName(const std::string& path)
{
    static const std::set<std::string> kSuffixes = {".jpg", ".jpeg", ".png", ".bmp", ".tif", ".tiff", ".webp"};
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return kSuffixes.count(extension) != 0;
}

std::vector<std::string> CPhotoBatch::PhotosIn(const std::string& folder, const std::string& resultSuffix)
{
    std::vector<std::string> photos;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        if (!entry.is_regular_file(error) || !IsPhotoName(path.string())) continue;
        if (!resultSuffix.empty() && path.stem().string().ends_with(resultSuffix)) continue;
        photos.push_back(path.string());
    }
    std::sort(photos.begin(), photos.end());
    return photos;
}

std::string CPhotoBatch::ResultPath(const std::string& photo, const std::string& outFolder, const std::string& suffix)
{
    const fs::path path(photo);
    if (!outFolder.empty()) return (fs::path(outFolder) / path.filename()).string();
    return (path.parent_path() / (path.stem().string() + suffix + path.extension().string())).string();
}
