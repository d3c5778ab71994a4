#include "platform/start_marks.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace rpn {

namespace {

struct Mark {
    const char* what;
    long long nanoseconds;
};

constexpr int kMostMarks = 48;

struct Marks {
    bool checked = false;
    bool on = false;
    bool reported = false;
    long long origin = 0;
    int count = 0;
    Mark marks[kMostMarks];
};

Marks& TheMarks()
{
    static Marks marks;
    if (!marks.checked) {
        marks.checked = true;
        if (const char* origin = std::getenv("RPN_START_MARKS")) {
            char* end = nullptr;
            marks.origin = std::strtoll(origin, &end, 10);
            marks.on = end != origin;
        }
    }
    return marks;
}

long long Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

}  // namespace

bool StartMarksOn()
{
    return TheMarks().on;
}

void StartMark(const char* what)
{
    Marks& marks = TheMarks();
    if (!marks.on || marks.reported || marks.count == kMostMarks)
        return;
    marks.marks[marks.count++] = {what, Now()};
}

void ReportStartMarks()
{
    Marks& marks = TheMarks();
    if (!marks.on || marks.reported)
        return;
    marks.reported = true;
    for (int index = 0; index < marks.count; ++index)
        std::fprintf(stderr, "start-mark %8.3f ms %s\n",
                     static_cast<double>(marks.marks[index].nanoseconds - marks.origin) / 1e6, marks.marks[index].what);
    std::fflush(stderr);
}

}  // namespace rpn
