#pragma once

#include <QString>

// `path` is in the 'Do Not Shred' list with exactly this text: letter case counts, so that
// "/home/u/Keep" and "/home/u/keep", two folders here, can both be listed.
bool CheckDupFiles(const QString& path);
