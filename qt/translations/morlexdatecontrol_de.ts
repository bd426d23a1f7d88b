<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>MorlexDateAccessibility</name>
    <message>
        <source>Step up</source>
        <translation>Erhöhen</translation>
    </message>
    <message>
        <source>Step down</source>
        <translation>Verringern</translation>
    </message>
    <message>
        <source>Open calendar</source>
        <translation>Kalender öffnen</translation>
    </message>
    <message>
        <source>Steps the month, day or year where the caret stands</source>
        <translation>Ändert Monat, Tag oder Jahr an der Einfügemarke</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Change month</source>
        <translation>Monat ändern</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Change year</source>
        <translation>Jahr ändern</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Date, month/day/year</source>
        <translation>Datum, Monat/Tag/Jahr</translation>
    </message>
    <message>
        <source>Date, day/month/year</source>
        <translation>Datum, Tag/Monat/Jahr</translation>
    </message>
    <message>
        <source>Date, year/month/day</source>
        <translation>Datum, Jahr/Monat/Tag</translation>
    </message>
</context>
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
