// SPDX-License-Identifier: MIT
#include "web/js_arrays.h"

#include <cstdint>

namespace solvena::web {
namespace {

// Copies through a view of the C++ memory, with the typed array's own set
// and slice: one copy, however long the text.
template <class Element, class Container>
Container CopyIn(const emscripten::val& array) {
    Container out(array["length"].as<std::size_t>(), {});
    emscripten::val view(
        emscripten::typed_memory_view(out.size(), reinterpret_cast<Element*>(out.data())));
    view.call<void>("set", array);
    return out;
}

template <class Element, class Char>
emscripten::val CopyOut(std::basic_string_view<Char> data) {
    const emscripten::val view(
        emscripten::typed_memory_view(data.size(), reinterpret_cast<const Element*>(data.data())));
    return view.call<emscripten::val>("slice");
}

}  // namespace

std::u16string UnitsFrom(const emscripten::val& array) {
    return CopyIn<std::uint16_t, std::u16string>(array);
}

std::string BytesFrom(const emscripten::val& array) {
    return CopyIn<std::uint8_t, std::string>(array);
}

emscripten::val UnitsArray(std::u16string_view units) {
    return CopyOut<std::uint16_t>(units);
}

emscripten::val BytesArray(std::string_view bytes) {
    return CopyOut<std::uint8_t>(bytes);
}

}  // namespace solvena::web
