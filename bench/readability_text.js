// The reader-view baseline of the marker-suggestion benchmark: Mozilla's
// Readability through jsdom, one page at a time.
//
// Usage: node readability_text.js MODULES_DIR < list-of-html-files
// MODULES_DIR is the folder where `npm install @mozilla/readability jsdom`
// ran. For each file named on standard input (one path a line) it prints
// one JSON line: {"file": path, "text": the article's textContent, "html":
// the article's content as HTML; both null where Readability finds no
// article or the page cannot be read}. The benchmark scores the HTML with
// the same visible-text rule as the pieces: textContent runs the words of
// adjacent elements together ("</td><td>"), which would cost Readability
// words it found.
"use strict";

const fs = require("fs");
const path = require("path");
const readline = require("readline");
const { createRequire } = require("module");

const modules = process.argv[2];
if (!modules) {
  process.stderr.write("usage: node readability_text.js MODULES_DIR < files\n");
  process.exit(64);
}
const load = createRequire(path.join(path.resolve(modules), "package.json"));
const { JSDOM, VirtualConsole } = load("jsdom");
const { Readability } = load("@mozilla/readability");

// Style sheets and scripts are neither fetched nor run; jsdom's complaints
// about CSS it cannot parse are dropped.
const quiet = new VirtualConsole();

function textOf(file) {
  // A Buffer lets jsdom take the charset from the signature or the meta
  // element, as a browser does.
  const dom = new JSDOM(fs.readFileSync(file), {
    url: "file://" + path.resolve(file),
    contentType: "text/html",
    virtualConsole: quiet,
  });
  const article = new Readability(dom.window.document).parse();
  dom.window.close();
  return article ? { text: article.textContent, html: article.content } : null;
}

const lines = readline.createInterface({ input: process.stdin });
lines.on("line", (file) => {
  if (!file) return;
  let found = null;
  try {
    found = textOf(file);
  } catch (e) {
    found = null;
  }
  process.stdout.write(
    JSON.stringify({
      file,
      text: found ? found.text : null,
      html: found ? found.html : null,
    }) + "\n",
  );
});
