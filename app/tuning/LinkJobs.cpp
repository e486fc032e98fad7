#include "app/tuning/LinkJobs.h"

namespace {

const wchar_t kOffline[] = L"${job_offline}";

const wchar_t kOutputsCut[] = L"${outputs_cut}";
const wchar_t kPushCut[] = L"${profile_push_cut}";
const wchar_t kPushNone[] = L"${profile_push_none}";
const wchar_t kPushFail[] = L"${profile_push_fail}";

// One row per JobKind, in its order.
const JobKindRow kRows[] = {
    {Offline::Refused, L"${load_scene_offline}", L"${load_scene_cut}", L"${load_scene_cut}", L"${load_scene_fail}"},
    {Offline::Refused, L"${save_scene_offline}", L"${save_scene_cut}", L"${save_scene_cut}", L"${save_scene_fail}"},
    {Offline::Refused, L"${delete_scene_offline}", L"${delete_scene_cut}", L"${delete_scene_cut}", L"${delete_scene_fail}"},
    // Without a unit a loaded file is only shown.
    {Offline::ModelOnly, nullptr, kPushCut, kPushNone, kPushFail},
    // The scenes are read from the unit: without one the file would name
    // the unit's scenes over contents never read.
    {Offline::Refused, L"${whole_save_offline}", L"${whole_save_cut}", L"${whole_save_cut}", L"${whole_save_fail}"},
    {Offline::ModelOnly, nullptr, kPushCut, kPushNone, kPushFail},
    // Without a link an output change is the model's alone.
    {Offline::ModelOnly, nullptr, kOutputsCut, L"${outputs_none}", L"${outputs_fail}"},
    {Offline::Refused, kOffline, L"${factory_reset_cut}", L"${factory_reset_cut}", L"${factory_reset_fail}"},
};

static_assert(sizeof kRows / sizeof kRows[0] == kJobKinds, "one row per job kind");
// The packed report keeps the kind in its lowest three bits.
static_assert(kJobKinds <= 8, "a job kind packs into three bits");

} // namespace

const JobKindRow& JobRow(JobKind kind)
{
    return kRows[static_cast<int>(kind)];
}

const wchar_t* JobEndWord(JobKind kind, JobEnd end)
{
    const JobKindRow& row = JobRow(kind);
    switch (end) {
    case JobEnd::LeftAfter: return L"${device_left_after_job}";
    case JobEnd::Cut: return row.cut;
    case JobEnd::CutUntouched: return row.untouched;
    case JobEnd::Unconfirmed:
    case JobEnd::Silent: return row.letGo;
    case JobEnd::Done: break;
    }
    return nullptr;
}

bool LetsLinkGo(JobEnd end)
{
    return end == JobEnd::Unconfirmed || end == JobEnd::Silent;
}

// Bits 0-2 the kind, 3-7 the flags, 8-15 the detail, 16-31 the loading window.
LPARAM PackJobReport(const JobReport& report)
{
    uint32_t packed = static_cast<uint32_t>(report.kind) & 0x07;
    packed |= report.untouched ? 0x08u : 0;
    packed |= (report.linked ? 0x10u : 0) | (report.taken ? 0x20u : 0) | (report.unanswered ? 0x40u : 0) |
              (report.silent ? 0x80u : 0);
    packed |= static_cast<uint32_t>(report.detail) << 8;
    packed |= static_cast<uint32_t>(report.busy) << 16;
    return static_cast<LPARAM>(packed);
}

JobReport UnpackJobReport(LPARAM packed)
{
    const uint32_t bits = static_cast<uint32_t>(packed);
    JobReport report;
    const uint32_t kind = bits & 0x07;
    // The one place a number becomes a kind.
    report.kind = kind < static_cast<uint32_t>(kJobKinds) ? static_cast<JobKind>(kind) : JobKind::Outputs;
    report.untouched = (bits & 0x08u) != 0;
    report.linked = (bits & 0x10u) != 0;
    report.taken = (bits & 0x20u) != 0;
    report.unanswered = (bits & 0x40u) != 0;
    report.silent = (bits & 0x80u) != 0;
    report.detail = static_cast<uint8_t>(bits >> 8);
    report.busy = static_cast<uint16_t>(bits >> 16);
    return report;
}
