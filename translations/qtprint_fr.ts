<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- French for the texts of Qt's print dialogs that Qt's own French catalogue leaves in English
     (Qt 6.4), and a few of its entries corrected. Loaded after Qt's catalogue, so these win. -->
<TS version="2.1" language="fr_FR" sourcelanguage="en_US">
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>Double Sided Printing</source>
        <translation>Recto verso</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Désactivé</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Reliure bord long</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Reliure bord court</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Indiquez des pages ou des intervalles séparés par des virgules. Un intervalle s'écrit avec deux numéros séparés par un tiret. Par exemple, 3,5-7,9 imprime les pages 3, 5, 6, 7 et 9.</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Pages mal indiquées</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>« %1 » n'est pas écrit correctement. Séparez les pages et les intervalles par des virgules (« , »), écrivez un intervalle avec un tiret (« - ») et veillez à ce que les intervalles ne se chevauchent pas.</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>De gauche à droite puis de haut en bas</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Conflit des réglages recto verso</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Les réglages recto verso sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Printer Properties</source>
        <translation>Propriétés de l'imprimante</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Conflit des options de mise en page</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Des options de mise en page sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Conflit des options avancées</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Des options avancées sont en conflit. Voulez-vous les corriger ?</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Advanced</source>
        <translation>Avancé</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Des options sont en conflit. Veuillez les corriger.</translation>
    </message>
</context>
<context>
    <name>QCupsPrinterSupport</name>
    <message>
        <source>Authentication Needed</source>
        <translation>Authentification requise</translation>
    </message>
    <message>
        <source>Authentication needed to use %1.</source>
        <translation>Une authentification est requise pour utiliser %1.</translation>
    </message>
    <message>
        <source>Authentication needed to use %1 on %2.</source>
        <translation>Une authentification est requise pour utiliser %1 sur %2.</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Nom d'utilisateur :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
</context>
<context>
    <name>Print Device Input Slot</name>
    <message>
        <source>Automatic</source>
        <translation>Automatique</translation>
    </message>
</context>
<context>
    <name>Print Device Output Bin</name>
    <message>
        <source>Automatic</source>
        <translation>Automatique</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>Letter Extra</source>
        <translation>Letter Extra</translation>
    </message>
    <message>
        <source>Envelope Personal</source>
        <translation>Enveloppe Personnelle</translation>
    </message>
    <message>
        <source>Custom (%1pc x %2pc)</source>
        <translation>Personnalisée (%1pc x %2pc)</translation>
    </message>
</context>
</TS>
