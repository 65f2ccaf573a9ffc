<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>OptionsRules</name>
    <message numerus="yes">
        <source>%n secs</source>
        <translation>
            <numerusform>%n sec</numerusform>
            <numerusform>%n secs</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TimeReply</name>
    <message numerus="yes">
        <source>Clock was %n seconds slow</source>
        <translation>
            <numerusform>Clock was %n second slow</numerusform>
            <numerusform>Clock was %n seconds slow</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds slow</source>
        <translation>
            <numerusform>Clock is %n second slow</numerusform>
            <numerusform>Clock is %n seconds slow</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock was %n seconds fast</source>
        <translation>
            <numerusform>Clock was %n second fast</numerusform>
            <numerusform>Clock was %n seconds fast</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Clock is %n seconds fast</source>
        <translation>
            <numerusform>Clock is %n second fast</numerusform>
            <numerusform>Clock is %n seconds fast</numerusform>
        </translation>
    </message>
</context>
</TS>
