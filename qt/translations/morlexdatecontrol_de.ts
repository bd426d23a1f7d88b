<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>MorlexDateControl</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>About Morlex Date Control</source>
        <translation>Über Morlex Date Control</translation>
    </message>
    <message>
        <source>Morlex Date Control</source>
        <translation>Morlex Date Control</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>© 2026 Morlex Software</source>
        <translation>© 2026 Morlex Software</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
</context>
</TS>
