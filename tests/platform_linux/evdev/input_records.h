#pragma once

#include <linux/input.h>

#include <initializer_list>
#include <unistd.h>

// Writes kernel input records into a stream, as an event node would deliver them.
struct Record {
    unsigned short type;
    unsigned short code;
    int value;
};

inline bool writeRecords(int fd, std::initializer_list<Record> records)
{
    for (const Record& record : records) {
        input_event event{};
        event.type = record.type;
        event.code = record.code;
        event.value = record.value;
        if (::write(fd, &event, sizeof event) != static_cast<ssize_t>(sizeof event))
            return false;
    }
    return true;
}
