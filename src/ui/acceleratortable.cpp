// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/acceleratortable.h"

#include "book/textnumbers.h"
#include "embedded.h"
#include "ui/stringtable.h"

namespace korvin {

namespace {

int parseKey(std::string_view name)
{
    if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return name[0];
    if (name == "Space")
        return Accelerator::kSpace;
    if (name.size() >= 2 && name[0] == 'F') {
        const int n = toInteger(name.substr(1));
        if (n >= 1 && n <= 12)
            return Accelerator::kF1 + n - 1;
    }
    return 0;
}

int parseModifiers(std::string_view text)
{
    int modifiers = Accelerator::kNone;
    if (text.find("Ctrl") != std::string_view::npos)
        modifiers |= Accelerator::kCtrl;
    if (text.find("Shift") != std::string_view::npos)
        modifiers |= Accelerator::kShift;
    if (text.find("Alt") != std::string_view::npos)
        modifiers |= Accelerator::kAlt;
    return modifiers;
}

}  // namespace

std::vector<Accelerator> parseAcceleratorTable(std::string_view table)
{
    std::vector<Accelerator> accelerators;
    forEachTableLine(table, [&](std::string_view line) {
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos)
            return;
        Accelerator accelerator;
        accelerator.key = parseKey(line.substr(0, tab1));
        accelerator.modifiers = parseModifiers(line.substr(tab1 + 1, tab2 - tab1 - 1));
        accelerator.command = toInteger(line.substr(tab2 + 1));
        if (accelerator.key != 0)
            accelerators.push_back(accelerator);
    });
    return accelerators;
}

std::vector<Accelerator> builtInAccelerators()
{
    return parseAcceleratorTable(resources::acceleratorTable());
}

int commandForKey(const std::vector<Accelerator>& table, int key, int modifiers)
{
    for (const Accelerator& accelerator : table)
        if (accelerator.key == key && accelerator.modifiers == modifiers)
            return accelerator.command;
    return 0;
}

}  // namespace korvin
