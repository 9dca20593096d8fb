#pragma once

#include <cstddef>
#include <cstdint>

namespace skerry::fuzz {

// One entry point per input the program takes from users' files or typing. Each runs the code
// on arbitrary bytes and checks what must hold for every input; a broken promise stops the
// process (so that the fuzzer and the replay test both see it). Always returns 0.
int scanText(const std::uint8_t* data, std::size_t size);
int profileFile(const std::uint8_t* data, std::size_t size);
int fitFile(const std::uint8_t* data, std::size_t size);
int leadingNumber(const std::uint8_t* data, std::size_t size);
int numberPattern(const std::uint8_t* data, std::size_t size);
int suggestion(const std::uint8_t* data, std::size_t size);

} // namespace skerry::fuzz
