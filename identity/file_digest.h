#pragma once
#include <cstdint>
#include <string>

// MD5 text of a file's contents over its full 64-bit length: the file is read to its end, or,
// when it goes on past 8 MiB, the rest of it goes through read-only mapped views of bounded
// size. A file that cannot be read gives one of the texts "CreateFile Error ( code:%d )!",
// "ReadFile Error ( code:%d )!", "CreateFileMapping Error ( code:%d )!" or
// "MapViewOfFile Error ( code:%d )!" instead, which never equals a digest.
std::wstring fileDigest(const std::wstring& path);

// The same with a chosen view size (a multiple of the allocation granularity, 64 KiB) for
// the mapped rest of large files; 0 reads every file whole.
std::wstring fileDigestWithViews(const std::wstring& path, std::uint32_t viewBytes);

// The view size fileDigest uses: small enough for a 32-bit address space, large enough that
// mapping costs nothing next to hashing.
inline constexpr std::uint32_t kDigestViewBytes = 32u << 20;
