// The run context's construction (default console, clock and scratch-file names), the
// resolution of file names against the working directory, and the local clock.
#include "run_context.h"

#include "kolmar/portable.h"

#include <ctime>
#include <iostream>
#include <locale>

namespace kolmar::engine {

RunContext::RunContext()
    : console(&std::cerr), prompt_out(&std::cout), prompt_in(&std::cin), clock(LocalNow) {
    file_name[static_cast<std::size_t>(FileRole::chart)] = kChartFileName;
    file_name[static_cast<std::size_t>(FileRole::tz_data)] = kTzDataFileName;
    file_name[static_cast<std::size_t>(FileRole::tz_diam)] = kTzDiamFileName;
    file_name[static_cast<std::size_t>(FileRole::rock_msg)] = kRockMsgFileName;
    file_name[static_cast<std::size_t>(FileRole::names)] = kNamesFileName;
    for (std::ostringstream& text : held)
        text.imbue(std::locale::classic());
}

std::filesystem::path RunContext::Resolve(FileRole role) const {
    const std::filesystem::path name = PathFromUtf8(file_name[static_cast<std::size_t>(role)]);
    if (work_dir.empty() || name.is_absolute())
        return name;
    return work_dir / name;
}

bool RunContext::IsScratchOrStaged(FileRole role) {
    switch (role) {
    case FileRole::qw_stage:
    case FileRole::plot_stage_t:
    case FileRole::plot_stage_q:
    case FileRole::plot_stage_l:
    case FileRole::chart:
    case FileRole::tz_data:
    case FileRole::tz_diam:
    case FileRole::rock_msg:
        return true;
    default:
        return false;
    }
}

std::ostream& RunContext::Stream(FileRole role) {
    if (Holds(role))
        return held[static_cast<std::size_t>(role)];
    return Out(role);
}

DateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                    local.tm_hour,        local.tm_min,     local.tm_sec};
}

} // namespace kolmar::engine
