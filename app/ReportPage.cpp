#include "app/ReportPage.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/Cp1250.h"
#include "platform/Text.h"

namespace {

constexpr int kBarWidth = 300;
// A file of another program, or of a version whose rows all fail to read, could add a line per
// row; the first ones tell what is wrong, and the page stays small enough to mail.
constexpr std::size_t kUnreadShown = 1000;

// The program's own texts are code page 1250; the page is UTF-8.
std::string Text(const std::string& programText) {
    return EscapeHtml(platform::Utf8FromCp1250(programText));
}

std::string Label(const ItemRow& item) {
    std::string label = item.dialogLabel;
    if (!label.empty() && label.back() == ':') label.pop_back();
    return Text(label);
}

bool Ready(const CsvRow& row) { return row.conflicts == 0; }

struct Counts {
    std::size_t all = 0, ready = 0;
};

std::string Glance(const Fleet& fleet) {
    std::array<Counts, 3> counts;  // all, MS Exchange, Lotus Domino
    const CsvRow* oldest = nullptr;
    const CsvRow* newest = nullptr;
    std::optional<long long> first, last;
    for (const CsvRow& row : fleet.rows) {
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const bool counted = i == 0 || row.type == (i == 1 ? "exchange" : "lotus");
            counts[i].all += counted;
            counts[i].ready += counted && Ready(row);
        }
        const std::optional<long long> at = CsvTimeInstant(row.time);
        if (at && (!first || *at < *first)) first = at, oldest = &row;
        if (at && (!last || *at > *last)) last = at, newest = &row;
    }
    std::string html = "<table class=n><tr><th><th>Spolu<th>MS Exchange<th>Lotus Domino<tr><th>" +
                       Text("Skontrolované počítače");
    for (const Counts& c : counts) html += "<td>" + std::to_string(c.all);
    html += "<tr class=ok><th>" + Text("Pripravené (bez konfliktu)");
    for (const Counts& c : counts) html += "<td>" + std::to_string(c.ready);
    html += "<tr class=bad><th>" + Text("Nepripravené");
    for (const Counts& c : counts) html += "<td>" + std::to_string(c.all - c.ready);
    html += "</table>";
    html += "<p>" + Text("Prečítané súbory: ") + std::to_string(fleet.files) +
            Text(", riadky, ktoré sa nedali prečítať: ") + std::to_string(fleet.unread.size());
    if (oldest) {
        html += "<br>" + Text("Najstarší beh: ") + EscapeHtml(oldest->time) +
                Text(", najnovší beh: ") + EscapeHtml(newest->time);
    }
    return html + "</p>";
}

std::string Bars(const Fleet& fleet) {
    std::vector<std::pair<std::size_t, std::size_t>> failed;  // count, item
    for (std::size_t i = 0; i < kItemCount; ++i) {
        if (kItems[i].image == 0) continue;  // never judged
        std::size_t count = 0;
        for (const CsvRow& row : fleet.rows) count += row.items[i].verdict == Verdict::Fail;
        failed.emplace_back(count, i);
    }
    std::stable_sort(failed.begin(), failed.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    const std::size_t most = std::max<std::size_t>(1, failed.empty() ? 1 : failed[0].first);
    std::string html = "<h2>" + Text("Koľko počítačov neprešlo položkou") + "</h2><table class=b>";
    for (const auto& [count, item] : failed) {
        html += "<tr><td>" + Label(kItems[item]) +
                platform::Format(
                    "<td><svg width=%d height=14><rect width=%u height=14 "
                    "fill=\"#c0392b\"/></svg><td>%u",
                    kBarWidth, static_cast<unsigned>(count * kBarWidth / most),
                    static_cast<unsigned>(count));
    }
    return html + "</table>";
}

std::string NotReady(const Fleet& fleet) {
    std::vector<const CsvRow*> rows;
    for (const CsvRow& row : fleet.rows) {
        if (!Ready(row)) rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CsvRow* a, const CsvRow* b) { return a->conflicts > b->conflicts; });
    std::string html = "<h2>" + Text("Nepripravené počítače") + "</h2><table class=t><tr><th>" +
                       Text("Počítač") + "<th>" + Text("Používateľ") + "<th>" + Text("Čas behu") +
                       "<th>" + Text("Konflikty") + "<th>" + Text("Zlyhané položky");
    for (const CsvRow* row : rows) {
        html += "<tr><td>" + EscapeHtml(row->computer) + "<td>" + EscapeHtml(row->user) + "<td>" +
                EscapeHtml(row->time) + platform::Format("<td>%d<td>", row->conflicts);
        for (std::size_t i = 0; i < kItemCount; ++i) {
            if (row->items[i].verdict != Verdict::Fail) continue;
            html += "<b>" + Label(kItems[i]) + "</b> " + EscapeHtml(row->items[i].field) + "<br>";
        }
    }
    return html + "</table>";
}

std::string Unread(const Fleet& fleet) {
    std::string html = "<h2>" + Text("Riadky, ktoré sa nedali prečítať") + "</h2>";
    if (fleet.unread.empty()) return html + "<p>" + Text("Žiadne.") + "</p>";
    html += "<table class=t><tr><th>" + Text("Súbor") + "<th>" + Text("Riadok") + "<th>" +
            Text("Dôvod");
    const std::size_t shown = std::min(fleet.unread.size(), kUnreadShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const UnreadRow& row = fleet.unread[i];
        html += "<tr><td>" + EscapeHtml(row.source) + "<td>" +
                (row.line ? std::to_string(row.line) : Text("celý súbor")) + "<td>" + Text(row.why);
    }
    html += "</table>";
    if (shown == fleet.unread.size()) return html;
    return html + "<p>" + Text("... a ďalšie: ") + std::to_string(fleet.unread.size() - shown) +
           "</p>";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&#39;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string ReportPage(const Fleet& fleet) {
    return "<!DOCTYPE html><html lang=sk><head><meta charset=utf-8><title>" +
           Text("Tarnvik Analyzér: pripravenosť počítačov") +
           "</title><style>"
           "body{font-family:sans-serif;margin:1.5em;color:#222}"
           "table{border-collapse:collapse;margin:.5em 0}"
           "th,td{padding:.25em .6em;text-align:left;vertical-align:top}"
           ".n td{font-size:1.6em;text-align:right}.ok td{color:#1e7b34}.bad td{color:#b02a1e}"
           ".t tr:nth-child(even){background:#f2f2f2}.t th{background:#ddd}"
           ".t td:nth-child(-n+4){white-space:nowrap}"
           "</style></head><body><h1>" +
           Text("Tarnvik Analyzér: pripravenosť počítačov") + "</h1>" + Glance(fleet) +
           Bars(fleet) + NotReady(fleet) + Unread(fleet) + "</body></html>\r\n";
}
