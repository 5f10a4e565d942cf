#include "platform/Localization.h"
#include "resources/StringIds.h"

namespace {

constexpr StringTableEntry kEnglish[] = {
    {IDS_NAME_BRIGHTNESS_CONTRAST, u"Brightness and Contrast"},
    {IDS_NAME_RED_EYE, u"Red Eye Reduction"},
    {IDS_NAME_VIGNETTING, u"Photo Filters\\Vignetting"},
    {IDS_NAME_ENUMERATOR, u"Basic filters enumerator"},
    {IDS_NAME_FLIP_HOR, u"Rotate\\Flip Horizontal"},
    {IDS_NAME_FLIP_VER, u"Rotate\\Flip Vertical"},
    {IDS_NAME_ROT180, u"Rotate\\Rotate 180 Degrees"},
    {IDS_NAME_ROT90_CW, u"Rotate\\Rotate 90 Degrees Clockwise"},
    {IDS_NAME_ROT90_CCW, u"Rotate\\Rotate 90 Degrees Counterclockwise"},
    {IDS_NAME_ROTATE, u"Rotate"},
    {IDS_NAME_INVERT, u"Color\\Invert"},
    {IDS_NAME_COLOR_BALANCE, u"Color\\Color Balance"},
    {IDS_NAME_EXPOSURE, u"Color\\Exposure"},
    {IDS_NAME_LENS_DISTORT, u"Lens Distort"},
    {IDS_NAME_SHARPEN, u"Sharpen"},
    {IDS_NAME_CROP, u"Crop"},
    {IDS_NAME_NOISE, u"Noise"},
    {IDS_NAME_HOT_PIXEL, u"Hot Pixel Fixer"},
    {IDS_NAME_AUTOFIX, u"Autofix Image"},
    {IDS_NAME_MEDIAN, u"Median"},
    {IDS_NAME_ROT0, u"Rotate\\Rotate 0 Degrees"},
    {IDS_NAME_RESIZE, u"Resize"},
    {IDS_NAME_FRAMES, u"Frames"},

    {IDS_PROGRESS_BRIGHTNESS_CONTRAST, u"Adjusting brightness/contrast"},
    {IDS_PROGRESS_VIGNETTING, u"Vignetting"},
    {IDS_PROGRESS_FLIP_HOR, u"Flipping horizontally"},
    {IDS_PROGRESS_FLIP_VER, u"Flipping vertically"},
    {IDS_PROGRESS_MEDIAN, u"Applying median filter"},
    {IDS_PROGRESS_CROP, u"Cropping"},
    {IDS_PROGRESS_SHARPNESS, u"Sharpness"},
    {IDS_PROGRESS_LENS, u"Lens distortion"},
    {IDS_PROGRESS_GRADATION, u"Gradation curve"},
    {IDS_PROGRESS_INVERT, u"Inverting"},
    {IDS_PROGRESS_ROTATING, u"Rotating"},
    {IDS_PROGRESS_NOISE_ADD, u"Applying noise"},
    {IDS_PROGRESS_HOT_PIXEL, u"Fixing hot pixels"},
    {IDS_PROGRESS_AUTOFIX, u"Autofixing image..."},
    {IDS_PROGRESS_RESIZE, u"Resizing the image..."},
    {IDS_PROGRESS_NOISE_REMOVE, u"Apply noise reduction filter"},

    {IDS_STATUS_PLUGIN_MANAGER, u"Plug-in manager problem."},
    {IDS_STATUS_ALREADY_REGISTERED, u"Plug-in is already registered."},
    {IDS_STATUS_LOADING_FAILED,
     u"Loading of one or more plug-in files has failed.\nThe plug-in files might be either corrupt or not valid."},
    {IDS_STATUS_INVALID_ARGUMENT, u"Internal problem. Invalid function argument."},
    {IDS_STATUS_FILE_NOT_FOUND, u"File not found."},
    {IDS_STATUS_CANCELED, u"The operation was canceled."},
    {IDS_STATUS_OUT_OF_MEMORY, u"Out of memory."},
    {IDS_STATUS_READ_ERROR, u"A file read error has occurred."},
    {IDS_STATUS_WRITE_ERROR, u"A file write error has occurred."},
    {IDS_STATUS_ERROR_CAPTION, u"Error"},
    {IDS_STATUS_UNSUPPORTED_FORMAT, u"Lumivista does not support the\nformat of this image file."},

    {IDS_DLG107_BRIGHTNESS_LABEL, u"Brightness:"},
    {IDS_DLG107_CONTRAST_LABEL, u"Contrast:"},

    {IDS_PROGRESS_HORIZONTAL_BLURRING, u"Horizontal blurring"},
    {IDS_PROGRESS_VERTICAL_BLURRING, u"Vertical blurring"},
    {IDS_PROGRESS_MERGING, u"Merging"},
    {IDS_SHARPEN_SHEET_CAPTION, u" "},
    {IDS_SHARPEN_UNSHARP_MASK_PAGE, u"Unsharp Mask"},
    {IDS_SHARPEN_GAUSSIAN_BLUR_PAGE, u"Gaussian Blur"},
    {IDS_DLG13_SIZE_LABEL, u"Filter size:"},
    {IDS_DLG13_HINT, u"Hint: The effects of this filter can be seen best at a zoom factor of 100 %."},
    {IDS_DLG104_SIZE_LABEL, u"Size:"},
    {IDS_DLG104_AMOUNT_LABEL, u"Amount:"},
    {IDS_DLG104_THRESHOLD_LABEL, u"Threshold:"},
    {IDS_DLG104_HINT, u"Hint: The effects of this filter can be seen best at a zoom factor of 100 %."},
    {IDS_DLG5017_SIZE_LABEL, u"Size:"},
    {IDS_DLG5017_HINT, u"Hint: The effects of this filter can be seen best at a zoom factor of 100 %."},

    {IDS_RESIZE_UNIT_PIXEL, u"Pixel"},
    {IDS_RESIZE_UNIT_PERCENT, u"Percent"},
    {IDS_RESIZE_UNIT_INCH, u"inch"},
    {IDS_RESIZE_UNIT_CM, u"cm"},
    {IDS_RESIZE_METHOD_LANCZOS, u"Lanczos"},
    {IDS_RESIZE_METHOD_MITCHELL_NETRAVALI, u"Bicubic (Mitchell-Netravali)"},
    {IDS_RESIZE_METHOD_BARTLETT, u"Bilinear (Bartlett)"},
    {IDS_RESIZE_METHOD_NEAREST_NEIGHBOUR, u"Nearest Neighbor"},
    {IDS_RESIZE_METHOD_BILINEAR, u"Bilinear"},
    {IDS_RESIZE_SUMMARY, u"Original image size: %d x %d pixels at %d x %d dpi. New image size: %d x %d pixels at %d x "
                         u"%d dpi (%5.2lf MB)."},
    {IDS_DLG9_IMAGE_SIZE_LABEL, u"Image size:"},
    {IDS_DLG9_WIDTH_LABEL, u"X:"},
    {IDS_DLG9_HEIGHT_LABEL, u"Y:"},
    {IDS_DLG9_RESOLUTION_LABEL, u"Resolution:"},
    {IDS_DLG9_RESOLUTION_X_LABEL, u"X:"},
    {IDS_DLG9_RESOLUTION_Y_LABEL, u"Y:"},
    {IDS_DLG9_MODE_LABEL, u"Resize Mode:"},
    {IDS_DLG9_CONSTRAIN, u"Constrain Proportions"},
    {IDS_DLG9_RESAMPLE, u"Resize Image"},
    {IDS_DLG9_STATUS_LABEL, u"Status:"},
    {IDS_DLG9_BAD_PARAMETERS, u"Bad image parameters. Image cannot be resized."},
    {IDS_DLG9_DPI_X, u"dots per inch"},
    {IDS_DLG9_DPI_Y, u"dots per inch"},
    {IDS_EXPOSURE_CURVES_PAGE, u"Gradation Curves"},
    {IDS_EXPOSURE_HISTOGRAM_PAGE, u"Histogram Correction"},
    {IDS_DLG103_AUTOFIX_HISTOGRAM, u"Autofix Histogram"},
    {IDS_DLG5011_RESET, u"Reset"},
};

constexpr LanguageStringTable kTables[] = {
    {kLanguageEnglishUS, kEnglish},
};

} // namespace

std::span<const LanguageStringTable> ModuleStringTables()
{
    return kTables;
}
