// Reads a CMX 3600 edit decision list into the rows of an edit list. Video events become scenes
// in record order; a reel change (or one of our own tape-change comments) becomes a tape-change
// row; audio-only, empty, black and key events are skipped and counted. The one entry point
// takes the file's bytes, so a refused file never touches a list.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "edit/EdlImport.h"

// `mode` is the program's counting mode, in which every timecode is read; `language` picks the
// legacy code page of a file that is not UTF-8 (17: Shift-JIS).
EdlImport ParseEdl(const QByteArray& bytes, uint32_t mode, int language);
