#include "filters/rotate/RotateFilter.h"

#include "Common/params/ParamList.h"
#include "Common/params/ShapeText.h"
#include "filters/flip-rotate/Rot0DegreesFactory.h"
#include "filters/flip-rotate/Rot180Factory.h"
#include "filters/flip-rotate/Rot90ClockWiseFactory.h"
#include "filters/flip-rotate/Rot90CounterClockWiseFactory.h"
#include "filters/rotate/RotateDialog.h"
#include "filters/rotate/RotateKernel.h"
#include "filters/rotate/RotateSettings.h"
#include "filters/shared/pixels/ColorPixel.h"
#include "filters/shared/pixels/KernelBridge.h"
#include "filters/shared/straightening/StraighteningAngle.h"
#include "platform/CpuFeatures.h"
#include "plugin/ModuleFactories.h"
#include "resources/StringIds.h"

#include <cmath>
#include <numbers>

namespace {

// The layout decides the output's size, so the settings come first; the rows are
// announced once the output exists.
constexpr ApplyOptions kOptions{.order = {ApplyStep::Settings, ApplyStep::WorkingImage, ApplyStep::Announce}};

constexpr double kRightAngleTolerance = 0.01;
constexpr double kDegreesPerRadian = 57.29577951308232;

// The preview's tool pair that ends the line drawing once a line arrived.
constexpr int kToolModeLineDone = 1;
constexpr int kToolModeIdle = 0;

bool Near(double angle, double rightAngle)
{
    return std::abs(angle - rightAngle) < kRightAngleTolerance;
}

// The exact filter for a right angle, or null for any other angle.
CFilterFactoryBase* RightAngleFactory(double angle)
{
    if (Near(angle, 0)) return &FactoryOf<CRot0DegreesFactory>();
    if (Near(angle, 90)) return &FactoryOf<CRot90CounterClockWiseFactory>();
    if (Near(angle, 180)) return &FactoryOf<CRot180Factory>();
    if (Near(angle, 270)) return &FactoryOf<CRot90ClockWiseFactory>();
    return nullptr;
}

// The tilt of the line from (x1, y1) to (x2, y2) in picture pixels, y from the top:
// the turn that makes it level, or upright when it is closer to vertical.
std::optional<double> LineTilt(const ShapeNumbers& line)
{
    const int dx = line[2] - line[0];
    const int dy = line[3] - line[1];
    if (dx == 0 || dy == 0) return std::nullopt;
    if (std::abs(dy) > std::abs(dx)) return -std::atan(static_cast<double>(dx) / dy);
    return std::atan(static_cast<double>(dy) / dx);
}

double WithinOneTurn(double degrees)
{
    while (degrees >= 360) degrees -= 360;
    while (degrees < 0) degrees += 360;
    return degrees;
}

} // namespace

CInteractiveRotate::CInteractiveRotate(IUnknown* source, IPluginHost* host)
    : CInteractiveFilterBase(source, host, IDS_PROGRESS_ROTATING, kOptions)
{
}

HRESULT CInteractiveRotate::QueryInterface(REFIID iid, void** object)
{
    if (object != nullptr && iid == IID_IAutomaticAngle) {
        *object = static_cast<IAutomaticAngle*>(this);
        AddRef();
        return S_OK;
    }
    return CInteractiveFilterBase::QueryInterface(iid, object);
}

ULONG CInteractiveRotate::AddRef()
{
    return CInteractiveFilterBase::AddRef();
}

ULONG CInteractiveRotate::Release()
{
    return CInteractiveFilterBase::Release();
}

void CInteractiveRotate::OnFormatChanged()
{
    const CParamList params(Format().c_str());
    const std::lock_guard lock(m_settingsLock);
    params.GetDouble(kRotateAngleKey, m_settings.angle);
    int background = 0;
    if (params.GetInt(kRotateBackgroundKey, background)) m_settings.background = static_cast<uint32_t>(background);
    params.GetInt(kRotateCropTypeKey, m_settings.cropType);
}

void CInteractiveRotate::SetAngleAndCropType(double degrees, int cropType)
{
    const std::lock_guard lock(m_settingsLock);
    m_settings.angle = degrees;
    m_settings.cropType = cropType;
}

CInteractiveRotate::Settings CInteractiveRotate::CurrentSettings()
{
    const std::lock_guard lock(m_settingsLock);
    return m_settings;
}

bool CInteractiveRotate::GetAutomaticAngle(double* radians)
{
    const auto source = CComPtr<IImage>::Query(Source(), IID_IImage);
    if (!source || radians == nullptr) return false;
    const float tilt = DetectStraighteningAngle(source->GetBitmap(), nullptr, kStraighteningEdgePadding,
                                                kStraighteningThreshold);
    if (tilt == 0.0f) return false;
    *radians = -static_cast<double>(tilt);
    return true;
}

void CInteractiveRotate::SelectionChanged()
{
    IPreviewSite* site = PreviewSite();
    if (site == nullptr) return;
    ShapeNumbers line{};
    const bool read = ReadShapeText(site->GetSelection(), line);
    site->SetToolMode(kToolModeLineDone, kToolModeIdle);
    const std::optional<double> tilt = read ? LineTilt(line) : std::nullopt;
    if (!tilt) return;
    const double angle = WithinOneTurn(*tilt * kDegreesPerRadian + CurrentSettings().angle);
    CParamList params(Format().c_str());
    params.SetDouble(kRotateAngleKey, angle);
    SetFormat(params.ToString().c_str());
}

bool CInteractiveRotate::CreateDialogWindow(QWidget* parent, IStatus** status)
{
    if (parent == nullptr) return ReportStatus(status, kStatusInvalidArgument);
    AdoptDialog(new CInteractiveRotateDlg(parent, this, PreviewSite()));
    return true;
}

// A right-angle filter that cannot be made leaves the angle to the resampling.
bool CInteractiveRotate::AppliesElsewhere(IUnknown* input, IImage** result, IProgress* progress, IStatus** status,
                                          bool& applied)
{
    CFilterFactoryBase* factory = RightAngleFactory(CurrentSettings().angle);
    if (factory == nullptr) return false;
    IUnknown* source = InputOr(input);
    CComPtr<IFilter> exact;
    if (!factory->CreateFilter(source, exact.Receive(), nullptr)) return false;
    applied = exact->Apply(source, result, progress, status);
    return true;
}

CApplyOutcome CInteractiveRotate::CheckInput(IUnknown* input)
{
    if (input == nullptr) return CApplyOutcome::Failed(kStatusInvalidArgument);
    if (!CComPtr<IImage>::Query(input, IID_IImage)) return CApplyOutcome::Failed(kStatusHostRefused);
    return CApplyOutcome::Done();
}

// Processors without the interpolating path's instructions copy the nearest pixel;
// on these machines only the portable switch reaches that variant.
CApplyOutcome CInteractiveRotate::ReadSettings(IUnknown* input)
{
    m_applying = CurrentSettings();
    m_sampling = PortableCodeForced() ? RotationSampling::Nearest : RotationSampling::Bilinear;
    int width = 0;
    int height = 0;
    CComPtr<IImage>::Query(input, IID_IImage)->GetSize(&width, &height);
    const double theta = m_applying.angle / 360 * 2 * std::numbers::pi;
    m_layout = PlanRotation(width, height, theta, m_applying.cropType, m_sampling);
    return m_layout ? CApplyOutcome::Done() : CApplyOutcome::Refused();
}

CApplyOutcome CInteractiveRotate::MakeWorkingImage(IUnknown* input, CComPtr<IImage>& working)
{
    return CreateLikeInput(input, m_layout->width, m_layout->height, kStatusHostRefused, working);
}

CApplyOutcome CInteractiveRotate::ChangePixels(IUnknown* input, IImage* working, IProgress* progress)
{
    const bool done = RotatePixels(RowsOfImage(input), RowsOfImage(working), *m_layout,
                                   PixelOfColorValue(m_applying.background), m_sampling, ReportTo(progress));
    return done ? CApplyOutcome::Done() : CApplyOutcome::Failed(kStatusCancelled);
}
