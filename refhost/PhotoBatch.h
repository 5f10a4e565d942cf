#pragma once
// Where a batch finds its photos and where it writes each result, the same in both
// hosts: results go beside each photo with a suffix after its name, or into another
// folder under the photo's own name, in the photo's own format.

#include <string>
#include <vector>

class CPhotoBatch {
public:
    // The suffix results get when neither a suffix nor a folder is given.
    static constexpr const char* kDefaultSuffix = "-edited";

    // Whether the file name ends in a suffix the hosts read photos from.
    static bool IsPhotoName(const std::string& path);

    // The photos in folder (not its sub-folders), by name. Files whose name ends in
    // resultSuffix (before the extension) are an earlier batch's results, not photos;
    // an empty resultSuffix takes every photo.
    static std::vector<std::string> PhotosIn(const std::string& folder, const std::string& resultSuffix);

    // The result of photo: in outFolder when it is not empty, else beside the photo
    // with suffix added to its name.
    static std::string ResultPath(const std::string& photo, const std::string& outFolder, const std::string& suffix);
};
