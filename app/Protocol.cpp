#include "app/Protocol.h"

#include "platform/Text.h"

std::string ProtocolHeader(const std::string& caption,
                           const std::optional<CalendarTime>& localTime) {
    CalendarTime t;
    if (localTime) {
        t = *localTime;
    } else {
        t.hour = t.minute = t.second = -1;
    }
    return platform::Format("%s ŠTART TESTU - %d.%d.%d %02d:%02d:%02d\r\n", caption.c_str(), t.day,
                            t.month, t.year, t.hour, t.minute, t.second) +
           std::string(77, '-') + "\r\n\r\n";
}

std::string ProtocolNote(const std::string& path) {
    return "Protokol s výsledkom testovania je uložený v súbori:\r\n" + path;
}

std::string ProtocolNotWritten(const std::string& path) {
    return "Chyba! Nebolo možné zapísať súbor s protokolom o priebehu testu:\r\n" + path;
}
