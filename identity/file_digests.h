#pragma once
#include <string>
#include <vector>

// fileDigest of every path, in the order given, computed on up to `threads` threads at once
// (on one when no further thread can be had), each reading and hashing up to kMd5Lanes files
// side by side. Every file is read whole, in pieces, never mapped.
std::vector<std::wstring> fileDigests(const std::vector<std::wstring>& paths, unsigned threads);

// The number of threads worth digesting on here: the processors, at most 4.
unsigned digestThreads();
