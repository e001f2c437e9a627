#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The few values the utility reads from the game managers' YAML files (Lutris's game files,
// Bottles' bottle.yml): a plain scalar under a path of block-mapping keys, such as
// {"game", "prefix"} in
//   game:
//     prefix: /home/ann/Games/zelta
// Single- and double-quoted scalars are unquoted, a " #" comment is dropped, "~" and "null" read as
// no value. Flow collections, anchors, multi-line scalars and documents after the first are not
// read (their keys are never the ones asked for).
std::optional<std::string> ReadYamlScalar(std::string_view text,
                                          std::initializer_list<std::string_view> path);

// The "key: value" entries directly inside the block mapping a path of keys names, in file order,
// such as {"wine", "overrides"} in
//   wine:
//     overrides:
//       ddraw: native,builtin
// An empty value ("key:", "~", a nested mapping) reads as an empty text. An empty path reads the
// top level.
std::vector<std::pair<std::string, std::string>>
ReadYamlMapping(std::string_view text, std::initializer_list<std::string_view> path);
