#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

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
