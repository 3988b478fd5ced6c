#!/usr/bin/env python3
"""Writes the page's texts (web/texts.js) with their translations from the game's catalogues.

    page_catalogues.py TEXTS_JS OUT_JS LANGUAGE=CATALOGUE.mo ... -- XGETTEXT OPTION ...

xgettext, with the options it has for po/tavi.pot, finds the texts; each language gets those of
them its catalogue translates, and nothing else, in place of texts.js's empty TaviCatalogues.
"""
import ast
import gettext
import json
import subprocess
import sys

EMPTY = 'const TaviCatalogues = {};'


def page_texts(xgettext, source):
    """(context or None, German text) of each text xgettext finds in the page's source."""
    pot = subprocess.run(xgettext + ['-o', '-', source],
                         check=True, capture_output=True, text=True, encoding='utf-8').stdout
    texts, entry, field = [], {}, None
    for line in pot.splitlines() + ['']:
        keyword, _, rest = line.partition(' ')
        if keyword in ('msgctxt', 'msgid', 'msgstr'):
            field = keyword
            entry[field] = ast.literal_eval(rest)
        elif line.startswith('"') and field:
            entry[field] += ast.literal_eval(line)
        elif not line.strip():
            if entry.get('msgid'):  # not the header
                texts.append((entry.get('msgctxt'), entry['msgid']))
            entry, field = {}, None
    return texts


def main(source, out, catalogues, xgettext):
    texts = page_texts(xgettext, source)
    if not texts:
        sys.exit(f'{source}: no PageText found')
    tables = {}
    for language_and_file in catalogues:
        language, _, file = language_and_file.partition('=')
        with open(file, 'rb') as mo:
            catalogue = gettext.GNUTranslations(mo)
        table = {}
        for context, text in texts:
            translated = catalogue.pgettext(context, text) if context else catalogue.gettext(text)
            if translated != text:
                table[f'{context}\x04{text}' if context else text] = translated
        if table:
            tables[language] = table
    with open(source, encoding='utf-8') as f:
        script = f.read()
    if script.count(EMPTY) != 1:
        sys.exit(f'{source}: "{EMPTY}" must stand in it once')
    script = script.replace(EMPTY, 'const TaviCatalogues = ' + json.dumps(tables, sort_keys=True) + ';')
    with open(out, 'w', encoding='utf-8') as f:
        f.write(script)


if __name__ == '__main__':
    arguments = sys.argv[1:]
    if '--' not in arguments or arguments.index('--') < 2 or arguments[-1] == '--':
        sys.exit(__doc__)
    split = arguments.index('--')
    main(arguments[0], arguments[1], arguments[2:split], arguments[split + 1:])
