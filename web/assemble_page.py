#!/usr/bin/env python3
"""Puts the browser page together as one file: the markup of page.html with
the styles, the WebAssembly module (base64, in a data block the page script
reads), emscripten's runtime and the page's scripts written into it, and a
Content-Security-Policy that admits exactly these inline scripts and styles
by their hashes and nothing from anywhere else. Refuses to write a page of
350 KB or more: the page is meant to stay one small file.

usage: assemble_page.py runtime.js module.wasm out.html page.html STYLE.css... SCRIPT.js...
       (the scripts in the order they run)
"""
import base64
import hashlib
import sys

LIMIT = 350 * 1000  # bytes


def inline(text, tag, name):
    # An end tag inside the text would end the element early.
    if ("</" + tag) in text.lower():
        sys.exit(f"assemble_page.py: {name} holds '</{tag}' and cannot be inlined")
    return text


def source_hash(text):
    digest = hashlib.sha256(text.encode("utf-8")).digest()
    return "'sha256-" + base64.b64encode(digest).decode("ascii") + "'"


def main(runtime, module, out, page, *parts):
    read = lambda path: open(path, encoding="utf-8").read()
    styles = [inline(read(path), "style", path) for path in parts if path.endswith(".css")]
    scripts = [inline(read(runtime), "script", runtime)]
    scripts += [inline(read(path), "script", path) for path in parts if path.endswith(".js")]
    with open(module, "rb") as wasm:
        module_text = base64.b64encode(wasm.read()).decode("ascii")

    # WebAssembly needs 'wasm-unsafe-eval' to compile; no fetch, image, font
    # or frame may load, and no form or base URL may point elsewhere.
    policy = "; ".join([
        "default-src 'none'",
        "script-src " + " ".join(source_hash(text) for text in scripts) + " 'wasm-unsafe-eval'",
        "style-src " + " ".join(source_hash(text) for text in styles),
        "base-uri 'none'",
        "form-action 'none'",
    ])
    blocks = [f'<script id="decoder-module" type="application/octet-stream">{module_text}</script>']
    blocks += [f"<script>{text}</script>" for text in scripts]
    markup = read(page)
    for placeholder in ("@POLICY@", "@STYLE@", "@SCRIPTS@"):
        if markup.count(placeholder) != 1:
            sys.exit(f"assemble_page.py: {page} must hold {placeholder} once")
    markup = (markup.replace("@POLICY@", policy)
              .replace("@STYLE@", "\n".join(f"<style>{text}</style>" for text in styles))
              .replace("@SCRIPTS@", "\n".join(blocks)))
    size = len(markup.encode("utf-8"))
    if size >= LIMIT:
        sys.exit(f"assemble_page.py: the page would be {size} bytes; it must stay under {LIMIT}")
    with open(out, "w", encoding="utf-8", newline="\n") as result:
        result.write(markup)


if __name__ == "__main__":
    if len(sys.argv) < 6 or not any(path.endswith(".js") for path in sys.argv[5:]):
        sys.exit(__doc__)
    main(*sys.argv[1:])
