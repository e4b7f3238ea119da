// What every fuzz target shares: a scratch folder for inputs that the program reads from files,
// Qt's own warnings kept off the fuzzer's output, and a check that stops the run (so libFuzzer
// keeps the input) when a property of the program does not hold.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// The input as bytes (copied: the program's readers keep QByteArrays).
QByteArray Bytes(const uint8_t* data, size_t size);

// A folder of this process that lives as long as the process (in memory when the machine has
// /dev/shm); created on first use.
const QString& ScratchFolder();

// Writes bytes to name in the scratch folder and returns the file's path.
QString WriteScratchFile(const QString& name, const QByteArray& bytes);

// Stops the process with a message when a property does not hold: the fuzzer saves the input.
void Require(bool holds, const char* what);

}  // namespace fuzz
