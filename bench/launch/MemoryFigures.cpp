#include "MemoryFigures.h"

#include <algorithm>
#include <cstdio>

namespace cohortex {

namespace {

std::string cell(std::optional<double> value, int decimals)
{
    if (!value)
        return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, *value);
    return text;
}

std::string ratio(std::optional<double> first, std::optional<double> second)
{
    if (!first || !second || *first <= 0)
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", *second / *first);
    return text;
}

void printRow(std::ostream& out, const std::string& label, const std::vector<std::optional<double>>& values,
    int decimals = 1)
{
    char line[160];
    std::snprintf(line, sizeof line, "%-26s", label.c_str());
    out << line;
    for (const auto& value : values) {
        std::snprintf(line, sizeof line, "%14s", cell(value, decimals).c_str());
        out << line;
    }
    if (values.size() == 2) {
        std::snprintf(line, sizeof line, "%10s", ratio(values[0], values[1]).c_str());
        out << line;
    }
    out << '\n';
}

void printHeader(std::ostream& out, const std::string& title, const std::vector<BrowserFigures>& figures)
{
    char line[160];
    out << '\n' << title << '\n';
    std::snprintf(line, sizeof line, "%-26s", "");
    out << line;
    for (const auto& browser : figures) {
        std::snprintf(line, sizeof line, "%14s", browser.name.c_str());
        out << line;
    }
    if (figures.size() == 2)
        out << "     ratio";
    out << '\n';
}

template <typename Pick>
std::vector<std::optional<double>> column(const std::vector<BrowserFigures>& figures, int count, Pick pick)
{
    std::vector<std::optional<double>> values;
    for (const auto& browser : figures) {
        auto found = browser.memory.find(count);
        values.push_back(found == browser.memory.end() ? std::nullopt : pick(found->second));
    }
    return values;
}

// How much of what the further views took was given back by releasing them, in per cent: with one loaded
// view as the base, (loaded - released) / (loaded - one loaded).
void printFreedShares(std::ostream& out, const std::vector<BrowserFigures>& figures)
{
    for (const auto& entry : figures.front().memory) {
        const int count = entry.first;
        if (count < 2)
            continue;
        std::vector<std::optional<double>> shares;
        for (const auto& browser : figures) {
            auto one = browser.memory.find(1);
            auto many = browser.memory.find(count);
            std::optional<double> share;
            if (one != browser.memory.end() && many != browser.memory.end() && one->second.loadedMB
                && many->second.loadedMB && many->second.hibernatedMB
                && *many->second.loadedMB > *one->second.loadedMB)
                share = 100 * (*many->second.loadedMB - *many->second.hibernatedMB)
                    / (*many->second.loadedMB - *one->second.loadedMB);
            shares.push_back(share);
        }
        printRow(out, std::to_string(count) + " freed by release (%)", shares);
    }
}

} // namespace

std::optional<double> median(std::vector<double> values)
{
    std::erase_if(values, [](double value) { return value < 0; });
    if (values.empty())
        return std::nullopt;
    std::sort(values.begin(), values.end());
    auto middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printFigures(std::ostream& out, const std::vector<BrowserFigures>& figures, int runs,
    const std::vector<std::string>& notes)
{
    printHeader(out,
        "Launch: process start to the page's first request and its load event, median of "
            + std::to_string(runs) + " runs (ms)",
        figures);
    auto printWithMultiples = [&](const std::string& label, auto figureOf) {
        std::vector<std::optional<double>> values;
        for (const auto& browser : figures)
            values.push_back(median(figureOf(browser)));
        printRow(out, label, values);
        std::vector<std::optional<double>> multiples;
        for (const auto& figure : values)
            multiples.push_back(figure && values.front() && *values.front() > 0
                    ? std::optional(*figure / *values.front())
                    : std::nullopt);
        // A goal like 1.1x must not pass by rounding.
        printRow(out, "x the first program", multiples, 2);
    };
    printWithMultiples("first page request", [](const BrowserFigures& browser) { return browser.launchMs; });
    printWithMultiples("page loaded", [](const BrowserFigures& browser) { return browser.loadedMs; });

    printHeader(out, "Memory: Pss of the whole process tree (MB)", figures);
    if (figures.empty())
        return;
    for (const auto& entry : figures.front().memory) {
        const int count = entry.first;
        printRow(out, std::to_string(count) + " loaded",
            column(figures, count, [](const MemoryRow& memory) { return memory.loadedMB; }));
        if (count > 1)
            printRow(out, std::to_string(count) + " all but shown released",
                column(figures, count, [](const MemoryRow& memory) { return memory.hibernatedMB; }));
    }
    printFreedShares(out, figures);
    out << '\n';
    for (const auto& note : notes)
        out << "Note: " << note << '\n';
}

} // namespace cohortex
