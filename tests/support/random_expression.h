// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Dice expressions made from a run of bytes, as the fuzzers and the tests
// draw them: one to three terms of few dice and faces, with every kind of
// modifier, alone or together, in any order. Most are valid; the parser
// decides.

namespace alearo::oracle {

class ByteSource {
  public:
    ByteSource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // A number from 0 to bound - 1; 0 once the bytes run out.
    int below(int bound);
    bool empty() const { return m_position >= m_size; }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

std::string RandomExpressionText(ByteSource& bytes);

}  // namespace alearo::oracle
