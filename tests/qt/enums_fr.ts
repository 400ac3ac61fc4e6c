<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Color</name>
    <message>
        <source>Colour of a shape</source>
        <translation>Couleur d&apos;une forme</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
</context>
<context>
    <name>Option</name>
    <message>
        <source>Smooth edges</source>
        <translation>Bords lissés</translation>
    </message>
</context>
<context>
    <name>Priority</name>
    <message>
        <source>Normal</source>
        <translation>Normale</translation>
    </message>
</context>
<context>
    <name>Weight</name>
    <message>
        <source>Normal</source>
        <translation>Standard</translation>
    </message>
</context>
</TS>
