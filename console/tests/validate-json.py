#!/usr/bin/env python3
"""validate-json.py SCHEMA FILE [--lines]: checks that FILE holds one JSON
value (with --lines: one JSON document on every line, JSON Lines) valid
under SCHEMA, a JSON Schema of draft 2020-12. Exits 0 when it does, 1 when
not (saying where), 2 when it cannot check."""
import json
import sys

try:
    from jsonschema import Draft202012Validator
    from jsonschema.exceptions import best_match
except ImportError:
    print("validate-json: python3-jsonschema is not installed", file=sys.stderr)
    sys.exit(2)


def main():
    if len(sys.argv) not in (3, 4) or (len(sys.argv) == 4 and sys.argv[3] != "--lines"):
        print(__doc__, file=sys.stderr)
        return 2
    with open(sys.argv[1], encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)
    with open(sys.argv[2], encoding="utf-8", newline="") as data_file:
        text = data_file.read()
    if len(sys.argv) == 4:
        if text and not text.endswith("\n"):
            print("validate-json: the last line has no line end", file=sys.stderr)
            return 1
        values = [(n, line) for n, line in enumerate(text.split("\n")[:-1], 1)]
    else:
        values = [(1, text)]
    if not values:
        print("validate-json: no JSON at all", file=sys.stderr)
        return 1
    failed = 0
    for number, line in values:
        try:
            value = json.loads(line)
        except ValueError as error:
            print(f"validate-json: line {number}: no JSON: {error}", file=sys.stderr)
            failed = 1
            continue
        error = best_match(validator.iter_errors(value))
        if error is not None:
            path = "/".join(str(part) for part in error.absolute_path)
            print(f"validate-json: line {number}: at /{path}: {error.message[:300]}",
                  file=sys.stderr)
            failed = 1
    return failed


sys.exit(main())
