<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>vantrel::window::Form1</name>
    <message>
        <source>Start:</source>
        <translation>البداية:</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>النهاية:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>من:</translation>
    </message>
    <message>
        <source>Files&apos; extension should be looking in:</source>
        <translation>ابحث في الملفات ذات الامتداد:</translation>
    </message>
    <message>
        <source>Put found strings in separated files.</source>
        <translation>ضع كل نص مستخرج في ملف مستقل.</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>GO!</source>
        <translation>ابدأ!</translation>
    </message>
    <message>
        <source>Choose path, extension and press &quot;GO!&quot;.<byte value="xd"/>
This software will open all files and will<byte value="xd"/>
search for &quot;start string&quot;, if it would be find,<byte value="xd"/>
software starts to look for &quot;end string&quot;, and<byte value="xd"/>
extract everythings inside them, and save<byte value="xd"/>
it in a new text file.<byte value="xd"/>
</source>
        <translation>اختر المجلد والامتداد واضغط &quot;ابدأ!&quot;.<byte value="xd"/>
يفتح البرنامج كل الملفات ويبحث فيها<byte value="xd"/>
عن &quot;نص البداية&quot;، فإن وجده بحث عن<byte value="xd"/>
&quot;نص النهاية&quot;، واستخرج كل ما بينهما<byte value="xd"/>
وحفظه في ملف نصي جديد.<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>Choose Folder:</source>
        <translation>اختر المجلد:</translation>
    </message>
    <message>
        <source>Explain why files gave no piece</source>
        <translation>اشرح لماذا لم يُستخرج نص من بعض الملفات</translation>
    </message>
    <message>
        <source>23 file checked, 3 string(s) didn&apos;t find.</source>
        <translation>فُحص 23 ملفًا، ولم يوجد 3 نصوص.</translation>
    </message>
</context>
</TS>
