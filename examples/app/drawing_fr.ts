<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Color</name>
    <message>
        <source>Colour of a shape</source>
        <translation>Couleur d’une forme</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
</context>
<context>
    <name>Shape</name>
    <message>
        <source>Kind of shape</source>
        <translation>Sorte de forme</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Cercle</translation>
    </message>
    <message>
        <source>Square</source>
        <translation>Carré</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
</context>
<context>
    <name>Option</name>
    <message>
        <source>Drawing options</source>
        <translation>Options de dessin</translation>
    </message>
    <message>
        <source>No option</source>
        <translation>Aucune option</translation>
    </message>
    <message>
        <source>Smooth edges</source>
        <translation>Bords lissés</translation>
    </message>
    <message>
        <source>Drop shadow</source>
        <translation>Ombre portée</translation>
    </message>
    <message>
        <source>Draw the outline</source>
        <translation>Tracer le contour</translation>
    </message>
</context>
</TS>
