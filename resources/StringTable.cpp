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
};

constexpr LanguageStringTable kTables[] = {
    {kLanguageEnglishUS, kEnglish},
};

} // namespace

std::span<const LanguageStringTable> ModuleStringTables()
{
    return kTables;
}
