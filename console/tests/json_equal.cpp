// json_equal EXPECTED ACTUAL: exits 0 when both files parse as JSON and
// hold the same value (spacing and key order do not count), 1 otherwise,
// showing the difference as a JSON patch from EXPECTED to ACTUAL.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace {

bool readJson(const char* path, nlohmann::json& value) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "json_equal: cannot open " << path << "\n";
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    try {
        value = nlohmann::json::parse(text.str());
    } catch (const nlohmann::json::parse_error& error) {
        std::cerr << "json_equal: " << path << " is no JSON: " << error.what() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: json_equal EXPECTED ACTUAL\n";
        return 2;
    }
    nlohmann::json expected;
    nlohmann::json actual;
    if (!readJson(argv[1], expected) || !readJson(argv[2], actual)) {
        return 1;
    }
    if (expected == actual) {
        return 0;
    }
    std::cerr << "JSON differs from " << argv[1] << ":\n"
              << nlohmann::json::diff(expected, actual).dump(2) << "\n";
    return 1;
}
