// The long jobs that hold the unit's link, and the one rule for their ends:
// each kind's row says whether it needs a link and what each ending tells.
// A worker packs what it met into its end message, so the UI thread judges
// the end from that message alone, never from members a later start rewrote.
#pragma once

#include <windows.h>

#include <cstdint>

enum class JobKind : uint8_t {
    SceneLoad, SceneSave, SceneDelete,
    WholeLoad, WholeSave, ProfilePush, Outputs, FactoryReset,
};
constexpr int kJobKinds = static_cast<int>(JobKind::FactoryReset) + 1;

// How a job ended, judged once on the UI thread as its end is taken.
enum class JobEnd : uint8_t {
    Done,         // confirmed on a link still open, or run with no link: nothing to tell
    LeftAfter,    // the unit took the whole job, then its link ended
    Cut,          // its link ended after the unit took part of it
    CutUntouched, // its link ended before the unit took any of it
    Unconfirmed,  // unconfirmed while its link lasted and the unit stayed listed
    Silent,       // the unit stopped answering
};

// Whether an end lets the link go after its word: the unit stayed listed
// but did not take all it was sent, so the screen may show what it does not
// hold; the next connect reads it back.
bool LetsLinkGo(JobEnd end);

// What a job does when it is asked for with no link open.
enum class Offline : uint8_t {
    Refused,    // told with the row's word before any question, nothing changes
    ModelOnly,  // the program's own values change, nothing is sent or told
    Runs,       // it runs on what the program holds
};

struct JobKindRow {
    Offline offline;
    const wchar_t* refused;    // the word of a refusal
    const wchar_t* cut;
    const wchar_t* untouched;  // cut before the unit took any of it
    const wchar_t* letGo;      // unconfirmed or silent: says the link was let go
};

const JobKindRow& JobRow(JobKind kind);
// The word an ending leaves (a literal language key), or null for Done.
const wchar_t* JobEndWord(JobKind kind, JobEnd end);

// What a job's worker met, carried in its end message's lParam.
struct JobReport {
    JobKind kind = JobKind::Outputs;
    bool linked = false;      // it started on an open link
    bool taken = false;       // the unit took every command of the job's own
    bool untouched = false;   // it took none of them
    bool unanswered = false;  // one of its exchanges went unanswered
    bool silent = false;      // one of them waited its whole time (the unit fell silent)
    uint8_t detail = 0;       // the kind's own outcome: a scene job's read result
    uint16_t busy = 0;        // the loading window it opened, 0: none
};

LPARAM PackJobReport(const JobReport& report);
JobReport UnpackJobReport(LPARAM packed);
