// Starting programs and opening files the way the desktop does.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quire::platform {

// Opens a file or URL: a program file (executable) is started with `parameters` in
// `workingFolder`; any other file, and any URL, goes to the desktop's handler. False when
// nothing could be started.
bool ShellOpen(const std::string& target, const std::string& parameters,
               const std::filesystem::path& workingFolder);

// Starts a program and waits until it ends; false when it could not start.
bool RunAndWait(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                const std::filesystem::path& workingFolder);

// Splits a parameter text at spaces, keeping quoted runs together (quotes removed).
std::vector<std::string> SplitParameters(const std::string& text);

}  // namespace quire::platform
