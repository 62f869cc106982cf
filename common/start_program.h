#pragma once
// Starting another program of the installation.
#include <string>

// Starts program with the command-line text arguments (passed as it stands: the programs the
// launcher starts read their own formats) and folder as its current directory, without
// waiting for it. False when it could not be started.
bool startProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder);
