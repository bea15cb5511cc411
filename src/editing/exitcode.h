#pragma once

namespace korvesta {

// What a headless command tells the script that ran it, the same in every command.
enum ExitCode : int {
    ExitDone = 0,       // done, or no problem found
    ExitRefused = 1,    // refused, stopped, or problems found
    ExitUsage = 2,      // the command line cannot be used
    ExitUnreadable = 3, // the document cannot be opened or read
};

} // namespace korvesta
