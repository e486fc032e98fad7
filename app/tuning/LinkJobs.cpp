#include "app/tuning/LinkJobs.h"

namespace {

const wchar_t kOffline[] = L"${job_offline}";
const wchar_t kNoAnswer[] = L"${device_no_answer}";

// One row per JobKind, in its order.
const JobKindRow kRows[] = {
    {true, L"${load_scene_offline}", L"${load_scene_cut}", L"${load_scene_fail}", kNoAnswer},
    {true, L"${save_scene_offline}", L"${save_scene_cut}", L"${save_scene_fail}", kNoAnswer},
    {true, L"${delete_scene_offline}", L"${delete_scene_cut}", L"${delete_scene_fail}", kNoAnswer},
    {true, kOffline, L"${profile_push_cut}", L"${profile_push_fail}", L"${profile_push_fail}"},
    // Without a unit the file holds what the program holds.
    {false, nullptr, L"${whole_save_cut}", L"${whole_save_fail}", kNoAnswer},
    {true, kOffline, L"${profile_push_cut}", L"${profile_push_fail}", L"${profile_push_fail}"},
    // Without a link an output change is the model's alone.
    {false, nullptr, L"${outputs_cut}", L"${outputs_fail}", kNoAnswer},
    {true, kOffline, L"${factory_reset_cut}", L"${factory_reset_fail}", kNoAnswer},
};

const int kKinds = static_cast<int>(sizeof kRows / sizeof kRows[0]);

} // namespace

const JobKindRow& JobRow(JobKind kind)
{
    const int index = static_cast<int>(kind);
    return kRows[index < kKinds ? index : kKinds - 1];
}

const wchar_t* JobEndWord(JobKind kind, JobEnd end)
{
    const JobKindRow& row = JobRow(kind);
    switch (end) {
    case JobEnd::LeftAfter: return L"${device_left_after_job}";
    case JobEnd::Cut: return row.cut;
    case JobEnd::Unconfirmed: return row.unconfirmed;
    case JobEnd::Silent: return row.silent;
    case JobEnd::Done: break;
    }
    return nullptr;
}

// Bits 0-3 the kind, 4-7 the flags, 8-15 the detail, 16-31 the loading window.
LPARAM PackJobReport(const JobReport& report)
{
    uint32_t packed = static_cast<uint32_t>(report.kind) & 0x0F;
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
    const uint32_t kind = bits & 0x0F;
    report.kind = kind < static_cast<uint32_t>(kKinds) ? static_cast<JobKind>(kind) : JobKind::Outputs;
    report.linked = (bits & 0x10u) != 0;
    report.taken = (bits & 0x20u) != 0;
    report.unanswered = (bits & 0x40u) != 0;
    report.silent = (bits & 0x80u) != 0;
    report.detail = static_cast<uint8_t>(bits >> 8);
    report.busy = static_cast<uint16_t>(bits >> 16);
    return report;
}
