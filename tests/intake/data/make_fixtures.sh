#!/usr/bin/env bash
# Remakes the spreadsheet fixtures of the import tests (needs LibreOffice Calc and
# python3; the tests themselves need neither).
set -euo pipefail
cd "$(dirname "$0")"
for kind in xls xlsx; do
  soffice --headless --infilter="CSV:44,34,76,1" --convert-to "$kind" --outdir . delivery_note.csv
done
# A download cut short: the first half of the .xlsx.
head -c 3000 delivery_note.xlsx > truncated.xlsx
# A text file someone renamed.
printf '货号,数量\nA1008,2\n' > renamed_text.xls
# What LibreOffice never writes: inline strings, cells and rows without references,
# rich text with phonetic runs, a cached formula text, an exponent, a boolean.
python3 - <<'PY'
import zipfile
files = {
 "[Content_Types].xml": '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>',
 "_rels/.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
   '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="book/main.xml"/></Relationships>',
 "book/main.xml": '<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
   'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>'
   '<sheet name="送货" sheetId="7" r:id="rIdB"/><sheet name="other" sheetId="1" r:id="rIdA"/></sheets></workbook>',
 "book/_rels/main.xml.rels": '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
   '<Relationship Id="rIdA" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="sheets/a.xml"/>'
   '<Relationship Id="rIdB" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/book/sheets/b.xml"/>'
   '<Relationship Id="rIdS" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/></Relationships>',
 "book/strings.xml": '<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
   '<si><t>plain</t></si><si><r><t>O\'</t></r><r><rPr><b/></rPr><t xml:space="preserve">Neil </t></r><rPh sb="0" eb="1"><t>ふり</t></rPh></si></sst>',
 "book/sheets/a.xml": '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
   '<row r="1"><c r="A1" t="inlineStr"><is><t>not the first sheet</t></is></c></row></sheetData></worksheet>',
 "book/sheets/b.xml": '<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>'
   '<row r="2"><c r="B2" t="s"><v>1</v></c><c t="inlineStr"><is><r><t>in</t></r><r><t>line</t></r></is></c><c r="F2"><v>1E-3</v></c><c><v>35</v></c></row>'
   '<row><c t="s"><v>0</v></c><c t="str"><f>A3&amp;"x"</f><v>plainx</v></c><c t="b"><v>1</v></c><c r="E3" s="3"/></row>'
   '</sheetData></worksheet>',
}
with zipfile.ZipFile("handmade.xlsx", "w", zipfile.ZIP_DEFLATED) as z:
    for name, text in files.items():
        z.writestr(name, text)
PY
