#!/usr/bin/env python3
"""Puts the browser page together as one file: the markup of page.html with
the style, the WebAssembly module (base64, in a data block the page script
reads), emscripten's runtime and the page script written into it, and a
Content-Security-Policy that admits exactly these inline scripts and style
by their hashes and nothing from anywhere else.

usage: assemble_page.py page.html page.css page.js runtime.js module.wasm out.html
"""
import base64
import hashlib
import sys


def inline(text, tag, name):
    # An end tag inside the text would end the element early.
    if ("</" + tag) in text.lower():
        sys.exit(f"assemble_page.py: {name} holds '</{tag}' and cannot be inlined")
    return text


def source_hash(text):
    digest = hashlib.sha256(text.encode("utf-8")).digest()
    return "'sha256-" + base64.b64encode(digest).decode("ascii") + "'"


def main(page, style, script, runtime, module, out):
    read = lambda path: open(path, encoding="utf-8").read()
    style_text = inline(read(style), "style", style)
    runtime_text = inline(read(runtime), "script", runtime)
    script_text = inline(read(script), "script", script)
    with open(module, "rb") as wasm:
        module_text = base64.b64encode(wasm.read()).decode("ascii")

    # WebAssembly needs 'wasm-unsafe-eval' to compile; no fetch, image, font
    # or frame may load, and no form or base URL may point elsewhere.
    policy = "; ".join([
        "default-src 'none'",
        f"script-src {source_hash(runtime_text)} {source_hash(script_text)} 'wasm-unsafe-eval'",
        f"style-src {source_hash(style_text)}",
        "base-uri 'none'",
        "form-action 'none'",
    ])
    scripts = (f'<script id="decoder-module" type="application/octet-stream">{module_text}</script>\n'
               f"<script>{runtime_text}</script>\n<script>{script_text}</script>")
    markup = read(page)
    for placeholder in ("@POLICY@", "@STYLE@", "@SCRIPTS@"):
        if markup.count(placeholder) != 1:
            sys.exit(f"assemble_page.py: {page} must hold {placeholder} once")
    markup = (markup.replace("@POLICY@", policy)
              .replace("@STYLE@", f"<style>{style_text}</style>")
              .replace("@SCRIPTS@", scripts))
    with open(out, "w", encoding="utf-8", newline="\n") as result:
        result.write(markup)


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    main(*sys.argv[1:])
