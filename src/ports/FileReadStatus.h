#pragma once

// What reading a whole file found. Failed covers a file that is there but cannot be read as a
// whole (no permission, not a regular file, a link that leads nowhere, larger than the limit):
// callers must not replace such a file as if it were absent.
enum class FileReadStatus { Ok, Missing, Failed };
