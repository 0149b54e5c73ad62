#pragma once
// Each subcommand's own --help: its usage line, its options and the exit
// statuses, on stdout.

#include <string_view>

namespace ql::cli {

// True iff `command` is a subcommand with a help text; prints it.
bool PrintSubcommandHelp(std::string_view command);

}  // namespace ql::cli
