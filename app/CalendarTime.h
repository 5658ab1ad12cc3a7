// Local time as a calendar shows it: the run's start, in the protocol and the CSV.
#pragma once

struct CalendarTime {
    int day = 0;
    int month = 0;  // 1 to 12
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
