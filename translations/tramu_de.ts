<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ClimbCategory</name>
    <message>
        <source>Cat 4</source>
        <translation>Kat. 4</translation>
    </message>
    <message>
        <source>Cat 3</source>
        <translation>Kat. 3</translation>
    </message>
    <message>
        <source>Cat 2</source>
        <translation>Kat. 2</translation>
    </message>
    <message>
        <source>Cat 1</source>
        <translation>Kat. 1</translation>
    </message>
    <message>
        <source>HC</source>
        <translation>HC</translation>
    </message>
</context>
<context>
    <name>ContextMenu</name>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Save as favorite</source>
        <translation>Als Favorit speichern</translation>
    </message>
    <message>
        <source>Add via here</source>
        <translation>Via-Punkt hier einfügen</translation>
    </message>
    <message>
        <source>Convert to Via/Shaping point</source>
        <translation>In Via-/Formpunkt umwandeln</translation>
    </message>
    <message>
        <source>Set as Start</source>
        <translation>Als Start setzen</translation>
    </message>
    <message>
        <source>Set as End</source>
        <translation>Als Ziel setzen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Details…</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>Add shaping point here</source>
        <translation>Formpunkt hier einfügen</translation>
    </message>
    <message>
        <source>Round Trip</source>
        <translation>Rundtour</translation>
    </message>
    <message>
        <source>Reverse route</source>
        <translation>Richtung umkehren</translation>
    </message>
    <message>
        <source>Loop from here…</source>
        <translation>Rundtour von hier…</translation>
    </message>
</context>
<context>
    <name>CostingKind</name>
    <message>
        <source>Road</source>
        <translation>Rennrad</translation>
    </message>
    <message>
        <source>Gravel</source>
        <translation>Gravel</translation>
    </message>
    <message>
        <source>MTB</source>
        <translation>MTB</translation>
    </message>
    <message>
        <source>Moto</source>
        <translation>Motorrad</translation>
    </message>
</context>
<context>
    <name>CostingPreference</name>
    <message>
        <source>Avoid climbs</source>
        <translation>Anstiege meiden</translation>
    </message>
    <message>
        <source>Avoid unpaved</source>
        <translation>Unbefestigtes meiden</translation>
    </message>
    <message>
        <source>Use busy roads</source>
        <translation>Belebte Straßen nutzen</translation>
    </message>
    <message>
        <source>Avoid motorways</source>
        <translation>Autobahnen meiden</translation>
    </message>
</context>
<context>
    <name>CoursePoint</name>
    <message>
        <source>Exit %1 %2</source>
        <translation>Ausfahrt %1 %2</translation>
    </message>
</context>
<context>
    <name>CueList</name>
    <message>
        <source>Turn left</source>
        <translation>Links abbiegen</translation>
    </message>
    <message>
        <source>Turn left onto %1</source>
        <translation>Links abbiegen auf %1</translation>
    </message>
    <message>
        <source>Turn right</source>
        <translation>Rechts abbiegen</translation>
    </message>
    <message>
        <source>Turn right onto %1</source>
        <translation>Rechts abbiegen auf %1</translation>
    </message>
    <message>
        <source>Bear left</source>
        <translation>Leicht links</translation>
    </message>
    <message>
        <source>Bear left onto %1</source>
        <translation>Leicht links auf %1</translation>
    </message>
    <message>
        <source>Bear right</source>
        <translation>Leicht rechts</translation>
    </message>
    <message>
        <source>Bear right onto %1</source>
        <translation>Leicht rechts auf %1</translation>
    </message>
    <message>
        <source>Turn sharp left</source>
        <translation>Scharf links abbiegen</translation>
    </message>
    <message>
        <source>Turn sharp left onto %1</source>
        <translation>Scharf links abbiegen auf %1</translation>
    </message>
    <message>
        <source>Turn sharp right</source>
        <translation>Scharf rechts abbiegen</translation>
    </message>
    <message>
        <source>Turn sharp right onto %1</source>
        <translation>Scharf rechts abbiegen auf %1</translation>
    </message>
    <message>
        <source>Make a U-turn</source>
        <translation>Wenden</translation>
    </message>
    <message>
        <source>Make a U-turn onto %1</source>
        <translation>Wenden auf %1</translation>
    </message>
    <message>
        <source>Keep left</source>
        <translation>Links halten</translation>
    </message>
    <message>
        <source>Keep left onto %1</source>
        <translation>Links halten auf %1</translation>
    </message>
    <message>
        <source>Keep right</source>
        <translation>Rechts halten</translation>
    </message>
    <message>
        <source>Keep right onto %1</source>
        <translation>Rechts halten auf %1</translation>
    </message>
    <message>
        <source>Enter the roundabout</source>
        <translation>In den Kreisverkehr einfahren</translation>
    </message>
    <message>
        <source>Enter the roundabout to %1</source>
        <translation>In den Kreisverkehr Richtung %1 einfahren</translation>
    </message>
    <message>
        <source>At the roundabout, take exit %1</source>
        <translation>Im Kreisverkehr die %1. Ausfahrt nehmen</translation>
    </message>
    <message>
        <source>At the roundabout, take exit %1 onto %2</source>
        <translation>Im Kreisverkehr die %1. Ausfahrt auf %2 nehmen</translation>
    </message>
    <message>
        <source>Leave the roundabout</source>
        <translation>Kreisverkehr verlassen</translation>
    </message>
    <message>
        <source>Take the ferry</source>
        <translation>Fähre nehmen</translation>
    </message>
    <message>
        <source>Arrive at the finish</source>
        <translation>Ziel erreicht</translation>
    </message>
    <message>
        <source>Via %1</source>
        <translation>Via %1</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiterfahren</translation>
    </message>
    <message>
        <source>Continue onto %1</source>
        <translation>Weiter auf %1</translation>
    </message>
    <message>
        <source>The routing server gives no turn cues for motorcycle routes.</source>
        <translation>Für Motorradrouten liefert der Routing-Server keine Abbiegehinweise.</translation>
    </message>
    <message>
        <source>Plan a route to see its turn cues.</source>
        <translation>Plane eine Route, um ihre Abbiegehinweise zu sehen.</translation>
    </message>
    <message>
        <source>No turn cues for this route. Changing the route fetches them.</source>
        <translation>Keine Abbiegehinweise für diese Route. Eine Änderung der Route holt sie.</translation>
    </message>
    <message>
        <source>%1 km</source>
        <translation>%1 km</translation>
    </message>
</context>
<context>
    <name>CueSheet</name>
    <message>
        <source>%1 m</source>
        <translation>%1 m</translation>
    </message>
    <message>
        <source>Distance %1</source>
        <translation>Distanz %1</translation>
    </message>
    <message>
        <source>Ascent %1</source>
        <translation>Anstieg %1</translation>
    </message>
    <message>
        <source>Estimated time %1</source>
        <translation>Geschätzte Zeit %1</translation>
    </message>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
    <message>
        <source>Instruction</source>
        <translation>Anweisung</translation>
    </message>
    <message>
        <source>Street</source>
        <translation>Straße</translation>
    </message>
    <message>
        <source>Next km</source>
        <translation>Bis nächster</translation>
    </message>
</context>
<context>
    <name>DeviceFlows</name>
    <message>
        <source>Could not create the course folder %1 on %2. Check that the device is not write-protected and has space left.</source>
        <translation>Der Kursordner %1 auf %2 lässt sich nicht anlegen. Prüfe, ob das Gerät schreibgeschützt ist oder voll.</translation>
    </message>
    <message>
        <source>A course of that name is already on %1 (%2).</source>
        <translation>Ein Kurs dieses Namens liegt schon auf %1 (%2).</translation>
    </message>
    <message>
        <source>%1 did not keep the file as it was sent (%2). Send it again; if that fails too, check the device&apos;s free space.</source>
        <translation>%1 hat die Datei nicht so behalten, wie sie gesendet wurde (%2). Sende sie noch einmal; klappt das auch nicht, prüfe den freien Speicher des Geräts.</translation>
    </message>
    <message>
        <source>Could not work with %1 over MTP: %2. </source>
        <translation>Mit %1 ist über MTP keine Verbindung möglich: %2. </translation>
    </message>
    <message>
        <source>%1 does not take this kind of course.</source>
        <translation>%1 nimmt diese Art von Kurs nicht an.</translation>
    </message>
    <message>
        <source>Something went wrong with %1.</source>
        <translation>Mit %1 ist etwas schiefgegangen.</translation>
    </message>
    <message>
        <source>No device found</source>
        <translation>Kein Gerät gefunden</translation>
    </message>
    <message>
        <source>Connect the device via USB, close other MTP apps (OpenMTP, Garmin Express), then Rescan.</source>
        <translation>Schließe das Gerät über USB an, beende andere MTP-Programme (OpenMTP, Garmin Express) und drücke Neu suchen.</translation>
    </message>
    <message>
        <source>A course named &apos;%1&apos; is already on %2. Replace it?</source>
        <translation>Ein Kurs namens „%1“ liegt schon auf %2. Ersetzen?</translation>
    </message>
    <message>
        <source>No rides on %1 in %2.</source>
        <translation>Keine Fahrten auf %1 in %2.</translation>
    </message>
    <message>
        <source> or </source>
        <translation> oder </translation>
    </message>
</context>
<context>
    <name>DeviceImport</name>
    <message>
        <source>no track or route</source>
        <translation>keine Spur oder Route</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import %1</source>
        <translation>%1 importieren</translation>
    </message>
    <message>
        <source>No courses on %1.</source>
        <translation>Keine Kurse auf %1.</translation>
    </message>
    <message>
        <source>Importing %1/%2…</source>
        <translation>Importiere %1/%2…</translation>
    </message>
    <message>
        <source>Failed: %1</source>
        <translation>Fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Imported 1 ride</source>
        <translation>1 Fahrt importiert</translation>
    </message>
    <message>
        <source>Imported %1 rides</source>
        <translation>%1 Fahrten importiert</translation>
    </message>
</context>
<context>
    <name>DeviceSend</name>
    <message>
        <source>Plan a route with at least two points first.</source>
        <translation>Plane zuerst eine Route mit mindestens zwei Punkten.</translation>
    </message>
    <message>
        <source>Leg %1 of the route has no geometry: the routing server could not compute it. Send the course once every leg is routed.</source>
        <translation>Etappe %1 der Route hat keinen Verlauf: der Routing-Server konnte sie nicht berechnen. Sende den Kurs, sobald jede Etappe berechnet ist.</translation>
    </message>
    <message>
        <source>The leg back to the start has no geometry: the routing server could not compute it. Send the course once every leg is routed.</source>
        <translation>Die Etappe zurück zum Start hat keinen Verlauf: der Routing-Server konnte sie nicht berechnen. Sende den Kurs, sobald jede Etappe berechnet ist.</translation>
    </message>
    <message>
        <source>GPX course</source>
        <translation>GPX-Kurs</translation>
    </message>
    <message>
        <source>No free course name is left on %1.</source>
        <translation>Auf %1 ist kein freier Kursname mehr übrig.</translation>
    </message>
    <message>
        <source>Disconnect USB — the device imports on disconnect.</source>
        <translation>USB trennen — das Gerät übernimmt den Kurs beim Trennen.</translation>
    </message>
    <message>
        <source>Eject, then restart the device.</source>
        <translation>Auswerfen, dann das Gerät neu starten.</translation>
    </message>
    <message>
        <source>Sent &apos;%1&apos; to %2</source>
        <translation>„%1“ an %2 gesendet</translation>
    </message>
    <message>
        <source>FIT course with turn cues and points ahead</source>
        <translation>FIT-Kurs mit Abbiegehinweisen und Vorankündigungen</translation>
    </message>
</context>
<context>
    <name>FileFilters</name>
    <message>
        <source>GPX files (*.gpx *.GPX)</source>
        <translation>GPX-Dateien (*.gpx *.GPX)</translation>
    </message>
    <message>
        <source>Rides and tracks (*.gpx *.GPX *.fit *.FIT *.track *.TRACK)</source>
        <translation>Fahrten und Tracks (*.gpx *.GPX *.fit *.FIT *.track *.TRACK)</translation>
    </message>
    <message>
        <source>TCX courses (*.tcx *.TCX)</source>
        <translation>TCX-Kurse (*.tcx *.TCX)</translation>
    </message>
    <message>
        <source>PDF cue sheets (*.pdf)</source>
        <translation>Hinweislisten als PDF (*.pdf)</translation>
    </message>
    <message>
        <source>CSV cue sheets (*.csv)</source>
        <translation>Hinweislisten als CSV (*.csv)</translation>
    </message>
</context>
<context>
    <name>LoopSuggestions</name>
    <message>
        <source>North</source>
        <translation>Norden</translation>
    </message>
    <message>
        <source>North-east</source>
        <translation>Nordosten</translation>
    </message>
    <message>
        <source>East</source>
        <translation>Osten</translation>
    </message>
    <message>
        <source>South-east</source>
        <translation>Südosten</translation>
    </message>
    <message>
        <source>South</source>
        <translation>Süden</translation>
    </message>
    <message>
        <source>South-west</source>
        <translation>Südwesten</translation>
    </message>
    <message>
        <source>West</source>
        <translation>Westen</translation>
    </message>
    <message>
        <source>North-west</source>
        <translation>Nordwesten</translation>
    </message>
    <message>
        <source>Any direction</source>
        <translation>Beliebige Richtung</translation>
    </message>
    <message>
        <source>The routing server&apos;s answer could not be read.</source>
        <translation>Die Antwort des Routing-Servers ist nicht lesbar.</translation>
    </message>
    <message>
        <source>The routing server found no loop from here.</source>
        <translation>Der Routing-Server findet von hier keine Rundtour.</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Looking for a loop…</source>
        <translation>Suche eine Rundtour…</translation>
    </message>
    <message>
        <source>%1 km · %2 m ascent · %3</source>
        <translation>%1 km · %2 m Anstieg · %3</translation>
    </message>
    <message>
        <source>%1% longer than asked</source>
        <translation>%1 % länger als gewünscht</translation>
    </message>
    <message>
        <source>%1% shorter than asked</source>
        <translation>%1 % kürzer als gewünscht</translation>
    </message>
    <message>
        <source>Loop %1 km</source>
        <translation>Rundtour %1 km</translation>
    </message>
</context>
<context>
    <name>MapColorComponent</name>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Parks</source>
        <translation>Parks</translation>
    </message>
    <message>
        <source>Forest</source>
        <translation>Wald</translation>
    </message>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Minor roads</source>
        <translation>Nebenstraßen</translation>
    </message>
    <message>
        <source>Medium roads</source>
        <translation>Landstraßen</translation>
    </message>
    <message>
        <source>Major roads</source>
        <translation>Hauptstraßen</translation>
    </message>
    <message>
        <source>Paths</source>
        <translation>Wege</translation>
    </message>
    <message>
        <source>Boundaries</source>
        <translation>Grenzen</translation>
    </message>
    <message>
        <source>Place labels</source>
        <translation>Ortsnamen</translation>
    </message>
    <message>
        <source>Road labels</source>
        <translation>Straßennamen</translation>
    </message>
    <message>
        <source>Cycle network</source>
        <translation>Radwegenetz</translation>
    </message>
    <message>
        <source>Route (flat)</source>
        <translation>Route (einfarbig)</translation>
    </message>
</context>
<context>
    <name>POICategory</name>
    <message>
        <source>Water</source>
        <translation>Wasser</translation>
    </message>
    <message>
        <source>Cafés</source>
        <translation>Cafés</translation>
    </message>
    <message>
        <source>Bakeries</source>
        <translation>Bäckereien</translation>
    </message>
    <message>
        <source>Bike shops</source>
        <translation>Radläden</translation>
    </message>
    <message>
        <source>Supermarkets</source>
        <translation>Supermärkte</translation>
    </message>
    <message>
        <source>Imported</source>
        <translation>Importiert</translation>
    </message>
</context>
<context>
    <name>PanelRules</name>
    <message>
        <source>%1% paved</source>
        <translation>%1 % befestigt</translation>
    </message>
    <message>
        <source>%1% unpaved</source>
        <translation>%1 % unbefestigt</translation>
    </message>
    <message>
        <source>%1% unknown</source>
        <translation>%1 % unbekannt</translation>
    </message>
    <message>
        <source>No surface data</source>
        <translation>Keine Angaben zum Untergrund</translation>
    </message>
    <message>
        <source>Climb</source>
        <translation>Anstieg</translation>
    </message>
    <message>
        <source>1 climb</source>
        <translation>1 Anstieg</translation>
    </message>
    <message>
        <source>%1 climbs</source>
        <translation>%1 Anstiege</translation>
    </message>
    <message>
        <source>Route</source>
        <translation>Route</translation>
    </message>
    <message>
        <source>Elevation</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Heart rate</source>
        <translation>Puls</translation>
    </message>
    <message>
        <source>Temp</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
</context>
<context>
    <name>PlannerTexts</name>
    <message>
        <source>Choose the Via tool and click the map to start a route.</source>
        <translation>Wähle das Werkzeug Via und klicke in die Karte, um eine Route zu beginnen.</translation>
    </message>
    <message>
        <source>1 anchor</source>
        <translation>1 Punkt</translation>
    </message>
    <message>
        <source>%1 anchors</source>
        <translation>%1 Punkte</translation>
    </message>
    <message>
        <source>Choose Via, then click the map</source>
        <translation>Wähle Via und klicke in die Karte</translation>
    </message>
    <message>
        <source>Press V or pick Via in the toolbar. Via points announce turns; shaping points guide silently.</source>
        <translation>Drücke V oder wähle Via in der Werkzeugleiste. Via-Punkte werden als Abbiegung angesagt, Formpunkte lenken still.</translation>
    </message>
    <message>
        <source>Click the map to start a route</source>
        <translation>Klicke in die Karte, um eine Route zu beginnen</translation>
    </message>
    <message>
        <source>Shaping points guide the route silently; Via points (V) announce turns.</source>
        <translation>Formpunkte lenken die Route still; Via-Punkte (V) werden als Abbiegung angesagt.</translation>
    </message>
    <message>
        <source>Via points announce turns; shaping points guide silently.</source>
        <translation>Via-Punkte werden als Abbiegung angesagt, Formpunkte lenken still.</translation>
    </message>
    <message>
        <source>Imported 1 POI</source>
        <translation>1 POI importiert</translation>
    </message>
    <message>
        <source>Imported %1 POIs</source>
        <translation>%1 POIs importiert</translation>
    </message>
    <message>
        <source>Showing the route as saved; 1 leg is not re-routed.</source>
        <translation>Die Route wird wie gespeichert gezeigt; 1 Etappe ist nicht neu berechnet.</translation>
    </message>
    <message>
        <source>Showing the route as saved; %1 legs are not re-routed.</source>
        <translation>Die Route wird wie gespeichert gezeigt; %1 Etappen sind nicht neu berechnet.</translation>
    </message>
    <message>
        <source>Restore unsaved route &apos;%1&apos; from %2?</source>
        <translation>Ungespeicherte Route „%1“ von %2 wiederherstellen?</translation>
    </message>
    <message>
        <source>Save changes to &apos;%1&apos;?</source>
        <translation>Änderungen an „%1“ speichern?</translation>
    </message>
    <message>
        <source>Click the map to start a route.</source>
        <translation>Klicke in die Karte, um eine Route zu beginnen.</translation>
    </message>
</context>
<context>
    <name>PlannerTracks</name>
    <message>
        <source>Could not read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No track in %1</source>
        <translation>Keine Spur in %1</translation>
    </message>
</context>
<context>
    <name>RideFile</name>
    <message>
        <source>not a GPX file</source>
        <translation>keine GPX-Datei</translation>
    </message>
    <message>
        <source>not a FIT file</source>
        <translation>keine FIT-Datei</translation>
    </message>
    <message>
        <source>not a Bryton track</source>
        <translation>kein Bryton-Track</translation>
    </message>
    <message>
        <source>FIT file is truncated</source>
        <translation>FIT-Datei ist abgeschnitten</translation>
    </message>
    <message>
        <source>FIT file is damaged (CRC mismatch)</source>
        <translation>FIT-Datei ist beschädigt (Prüfsumme falsch)</translation>
    </message>
    <message>
        <source>the file is damaged before its first point</source>
        <translation>die Datei ist vor ihrem ersten Punkt beschädigt</translation>
    </message>
    <message>
        <source>Recovered 1 point; the file is damaged after %1</source>
        <translation>1 Punkt gerettet; die Datei ist nach %1 beschädigt</translation>
    </message>
    <message>
        <source>Recovered %1 points; the file is damaged after %2</source>
        <translation>%1 Punkte gerettet; die Datei ist nach %2 beschädigt</translation>
    </message>
    <message>
        <source>Recovered %1 points; the file is damaged after %2 km</source>
        <translation>%1 Punkte gerettet; die Datei ist nach %2 km beschädigt</translation>
    </message>
    <message>
        <source>Recovered 1 point; the file is damaged after its first point</source>
        <translation>1 Punkt gerettet; die Datei ist nach ihrem ersten Punkt beschädigt</translation>
    </message>
</context>
<context>
    <name>Routing</name>
    <message>
        <source>Could not reach the routing server at %1: %2</source>
        <translation>Der Routing-Server unter %1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>This point is outside the area the routing server covers</source>
        <translation>Dieser Punkt liegt außerhalb des Gebiets, das der Routing-Server abdeckt</translation>
    </message>
    <message>
        <source>The routing server at %1 has no profile &apos;%2&apos;; it is not set up with Tramu&apos;s configuration (deploy/graphhopper).</source>
        <translation>Der Routing-Server unter %1 hat kein Profil „%2“; er ist nicht mit Tramus Konfiguration (deploy/graphhopper) eingerichtet.</translation>
    </message>
</context>
<context>
    <name>model</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>zuvo::app::PlaceSearchController</name>
    <message>
        <source>Searching…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message>
        <source>No places found for &apos;%1&apos;</source>
        <translation>Keine Orte gefunden für „%1“</translation>
    </message>
    <message>
        <source>Could not reach the place search at %1: %2</source>
        <translation>Die Ortssuche unter %1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>The place search at %1 did not answer with places.</source>
        <translation>Die Ortssuche unter %1 hat nicht mit Orten geantwortet.</translation>
    </message>
</context>
<context>
    <name>zuvo::app::PlannerViewModel</name>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Could not read %1</source>
        <translation>%1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 is not a zuvo route — use File ▸ Import GPX for third-party files.</source>
        <translation>%1 ist keine zuvo-Route — Dateien anderer Programme öffnest du mit Datei ▸ GPX importieren.</translation>
    </message>
    <message>
        <source>Save failed: %1</source>
        <translation>Speichern fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Saved &apos;%1&apos;</source>
        <translation>„%1“ gespeichert</translation>
    </message>
    <message>
        <source>No waypoints in %1</source>
        <translation>Keine Wegpunkte in %1</translation>
    </message>
    <message>
        <source>No track in %1</source>
        <translation>Keine Spur in %1</translation>
    </message>
    <message>
        <source>Export failed: %1</source>
        <translation>Export fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Exported &apos;%1&apos;</source>
        <translation>&apos;%1&apos; exportiert</translation>
    </message>
</context>
<context>
    <name>zuvo::app::RoutingServerStatus</name>
    <message>
        <source>The routing server has no elevation data: ascent, climbs and the climb preference are unavailable.</source>
        <translation>Der Routing-Server hat keine Höhendaten: Anstieg, Anstiege und die Vorliebe für Anstiege fehlen.</translation>
    </message>
    <message>
        <source>The routing server&apos;s heights are all 0 m: its elevation download probably failed during import. See the README, Routing server.</source>
        <translation>Alle Höhen des Routing-Servers sind 0 m: vermutlich schlug beim Import das Laden der Höhendaten fehl. Siehe README, Routing server.</translation>
    </message>
    <message>
        <source>Tramu is made for GraphHopper 11; this routing server runs %1.</source>
        <translation>Tramu ist für GraphHopper 11 gemacht; dieser Routing-Server läuft mit %1.</translation>
    </message>
    <message>
        <source>another version</source>
        <translation>einer anderen Version</translation>
    </message>
    <message>
        <source>Asking the routing server at %1…</source>
        <translation>Der Routing-Server unter %1 wird gefragt…</translation>
    </message>
    <message>
        <source>Covers %1° to %2° N, %3° to %4° E.</source>
        <translation>Deckt %1° bis %2° N, %3° bis %4° O ab.</translation>
    </message>
    <message>
        <source>Map data of %1.</source>
        <translation>Kartendaten vom %1.</translation>
    </message>
    <message>
        <source>Profiles: %1.</source>
        <translation>Profile: %1.</translation>
    </message>
    <message>
        <source>With elevation.</source>
        <translation>Mit Höhendaten.</translation>
    </message>
    <message>
        <source>Without elevation.</source>
        <translation>Ohne Höhendaten.</translation>
    </message>
    <message>
        <source>GraphHopper %1 at %2. </source>
        <translation>GraphHopper %1 unter %2. </translation>
    </message>
</context>
<context>
    <name>zuvo::ui::AppShell</name>
    <message>
        <source>Main Window</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Guide</source>
        <translation>Anleitung</translation>
    </message>
    <message>
        <source>User guide</source>
        <translation>Bedienungsanleitung</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::ColorPanel</name>
    <message>
        <source>Choose a colour</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Reset to default</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>Alle zurücksetzen</translation>
    </message>
    <message>
        <source>Map Colours</source>
        <translation>Farbauswahl</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::DetailsSheet</name>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Route Details</source>
        <translation>Routendetails</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distanz</translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation>Anstieg</translation>
    </message>
    <message>
        <source>Descent</source>
        <translation>Abstieg</translation>
    </message>
    <message>
        <source>Est. time</source>
        <translation>Fahrzeit (ca.)</translation>
    </message>
    <message>
        <source>Climbs</source>
        <translation>Anstiege</translation>
    </message>
    <message>
        <source>Surface</source>
        <translation>Untergrund</translation>
    </message>
    <message>
        <source>Anchors</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>%1 (%2 via, %3 shaping)</source>
        <translation>%1 (%2 Via, %3 Form)</translation>
    </message>
    <message>
        <source>Round trip</source>
        <translation>Rundtour</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Anchor Details</source>
        <translation>Punktdetails</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Via point</source>
        <translation>Via-Punkt</translation>
    </message>
    <message>
        <source>Shaping point</source>
        <translation>Formpunkt</translation>
    </message>
    <message>
        <source>Coordinate</source>
        <translation>Koordinate</translation>
    </message>
    <message>
        <source>Elevation</source>
        <translation>Höhe</translation>
    </message>
    <message>
        <source>Track Details</source>
        <translation>Spurdetails</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Avg speed</source>
        <translation>Tempo (Schnitt)</translation>
    </message>
    <message>
        <source>Max speed</source>
        <translation>Tempo (max.)</translation>
    </message>
    <message>
        <source>Avg heart rate</source>
        <translation>Puls (Schnitt)</translation>
    </message>
    <message>
        <source>Max heart rate</source>
        <translation>Puls (max.)</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperatur</translation>
    </message>
    <message>
        <source>About these figures</source>
        <translation>Zu diesen Werten</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::DeviceImportSheet</name>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import ride from device</source>
        <translation>Fahrt vom Gerät importieren</translation>
    </message>
    <message>
        <source>Activities</source>
        <translation>Fahrten</translation>
    </message>
    <message>
        <source>Courses</source>
        <translation>Kurse</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Rescan</source>
        <translation>Neu suchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>imported</source>
        <translation>importiert</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::DeviceSendSheet</name>
    <message>
        <source>Send course to device</source>
        <translation>Kurs an Gerät senden</translation>
    </message>
    <message>
        <source>No route to send</source>
        <translation>Keine Route zum Senden</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Rescan</source>
        <translation>Neu suchen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Course name</source>
        <translation>Kursname</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Keep both</source>
        <translation>Beide behalten</translation>
    </message>
    <message>
        <source>A FIT course tells a Garmin the turns, via points and climbs ahead; a Bryton always gets a tour.</source>
        <translation>Ein FIT-Kurs kündigt einem Garmin Abbiegungen, Via-Punkte und Anstiege vorab an; ein Bryton bekommt immer eine Tour.</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::DocumentCommands</name>
    <message>
        <source>Your changes are lost if you don&apos;t save them.</source>
        <translation>Deine Änderungen gehen verloren, wenn du sie nicht speicherst.</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Tramu ended before these changes were saved.</source>
        <translation>Tramu wurde beendet, bevor diese Änderungen gespeichert waren.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Save Route</source>
        <translation>Route speichern</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Export TCX Course</source>
        <translation>TCX-Kurs exportieren</translation>
    </message>
    <message>
        <source>Export Cue Sheet</source>
        <translation>Hinweisliste exportieren</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::ElevationDrawer</name>
    <message>
        <source>Elevation</source>
        <translation>Höhenprofil</translation>
    </message>
    <message>
        <source>Colour by gradient</source>
        <translation>Nach Steigung färben</translation>
    </message>
    <message>
        <source>Colours the route line by grade. Orange stays reserved for the route otherwise.</source>
        <translation>Färbt die Routenlinie nach Steigung. Sonst bleibt Orange der Route vorbehalten.</translation>
    </message>
    <message>
        <source>Hide elevation panel</source>
        <translation>Höhenprofil ausblenden</translation>
    </message>
    <message>
        <source>Plan a route to see its profile.</source>
        <translation>Plane eine Route, um ihr Profil zu sehen.</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::ErrorBanner</name>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::FavoritePrompt</name>
    <message>
        <source>Save as favorite</source>
        <translation>Als Favorit speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::HelpWindow</name>
    <message>
        <source>Guide</source>
        <translation>Anleitung</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::InspectorPanel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Stats</source>
        <translation>Werte</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distanz</translation>
    </message>
    <message>
        <source>Ascent</source>
        <translation>Anstieg</translation>
    </message>
    <message>
        <source>Descent</source>
        <translation>Abstieg</translation>
    </message>
    <message>
        <source>Est. time</source>
        <translation>Fahrzeit (ca.)</translation>
    </message>
    <message>
        <source>Surface</source>
        <translation>Untergrund</translation>
    </message>
    <message>
        <source>Preferences</source>
        <translation>Vorlieben</translation>
    </message>
    <message>
        <source>Anchors</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Nearby POIs</source>
        <translation>POIs in der Nähe</translation>
    </message>
    <message>
        <source>No POIs nearby.</source>
        <translation>Keine POIs in der Nähe.</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Convert to Via/Shaping point</source>
        <translation>In Via-/Formpunkt umwandeln</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>No anchors yet.</source>
        <translation>Noch keine Punkte.</translation>
    </message>
    <message>
        <source>No preferences for this profile.</source>
        <translation>Keine Vorlieben für dieses Profil.</translation>
    </message>
    <message>
        <source>The routing server has no elevation data.</source>
        <translation>Der Routing-Server hat keine Höhendaten.</translation>
    </message>
    <message>
        <source>Turn cues</source>
        <translation>Abbiegehinweise</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::LayersPill</name>
    <message>
        <source>Cycle networks</source>
        <translation>Radwegenetz</translation>
    </message>
    <message>
        <source>Hillshade</source>
        <translation>Schummerung</translation>
    </message>
    <message>
        <source>3D terrain</source>
        <translation>3D-Gelände</translation>
    </message>
    <message>
        <source>Points of interest</source>
        <translation>Interessante Orte</translation>
    </message>
    <message>
        <source>Import POI GPX…</source>
        <translation>POI-GPX importieren…</translation>
    </message>
    <message>
        <source>Show the routing server&apos;s area</source>
        <translation>Gebiet des Routing-Servers zeigen</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::LoopSheet</name>
    <message>
        <source>Suggest</source>
        <translation>Vorschlagen</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Weitere</translation>
    </message>
    <message>
        <source>Loop from here</source>
        <translation>Rundtour von hier</translation>
    </message>
    <message>
        <source>Three other loops of the same length</source>
        <translation>Drei andere Rundtouren derselben Länge</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>Distanz</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Use this loop</source>
        <translation>Diese Rundtour nehmen</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::MainWindow</name>
    <message>
        <source>Routing…</source>
        <translation>Route wird berechnet…</translation>
    </message>
    <message>
        <source>Save as favorite</source>
        <translation>Als Favorit speichern</translation>
    </message>
    <message>
        <source>Add via here</source>
        <translation>Via-Punkt hier einfügen</translation>
    </message>
    <message>
        <source>The map could not start: %1.

Tramu&apos;s map needs WebGL (OpenGL graphics). Check that a graphics driver is installed; on a remote desktop, try a local session. Planning, files and devices work without the map.</source>
        <translation>Die Karte konnte nicht starten: %1.

Tramus Karte braucht WebGL (OpenGL-Grafik). Prüfe, ob ein Grafiktreiber installiert ist; an einem entfernten Desktop versuche eine lokale Sitzung. Planen, Dateien und Geräte funktionieren auch ohne Karte.</translation>
    </message>
    <message>
        <source>No map tiles from %1 — showing country outlines. Start the tile server or set its address in Settings.</source>
        <translation>Keine Kartenkacheln von %1 — es werden Ländergrenzen gezeigt. Starte den Kachel-Server oder stelle seine Adresse in den Einstellungen ein.</translation>
    </message>
    <message>
        <source>New Route</source>
        <translation>Neue Route</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Öffnen…</translation>
    </message>
    <message>
        <source>Import GPX…</source>
        <translation>GPX importieren…</translation>
    </message>
    <message>
        <source>Import POI GPX…</source>
        <translation>POI-GPX importieren…</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Speichern unter…</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo route edit</source>
        <translation>Letzte Änderung zurücknehmen</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Redo route edit</source>
        <translation>Zurückgenommene Änderung wiederholen</translation>
    </message>
    <message>
        <source>Round Trip</source>
        <translation>Rundtour</translation>
    </message>
    <message>
        <source>Round trip: route returns to start</source>
        <translation>Rundtour: die Route führt zum Start zurück</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Seitenleiste</translation>
    </message>
    <message>
        <source>Inspector</source>
        <translation>Inspektor</translation>
    </message>
    <message>
        <source>Elevation</source>
        <translation>Höhenprofil</translation>
    </message>
    <message>
        <source>Show/hide elevation panel</source>
        <translation>Höhenprofil ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Import from Device…</source>
        <translation>Vom Gerät importieren…</translation>
    </message>
    <message>
        <source>Import Ride</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Import rides or courses from a bike computer</source>
        <translation>Fahrten oder Kurse von einem Radcomputer importieren</translation>
    </message>
    <message>
        <source>Send to Device…</source>
        <translation>An Gerät senden…</translation>
    </message>
    <message>
        <source>Send to Device</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Via</source>
        <translation>Via</translation>
    </message>
    <message>
        <source>Shaping</source>
        <translation>Formpunkt</translation>
    </message>
    <message>
        <source>Select / add via stop / add shaping point</source>
        <translation>Auswählen / Via-Punkt setzen / Formpunkt setzen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Fenster</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Map Colours</source>
        <translation>Farbauswahl</translation>
    </message>
    <message>
        <source>Recolour the map</source>
        <translation>Kartenfarben ändern</translation>
    </message>
    <message>
        <source>The routing server has no profile &apos;%1&apos;.</source>
        <translation>Der Routing-Server hat kein Profil „%1“.</translation>
    </message>
    <message>
        <source>Export TCX Course…</source>
        <translation>TCX-Kurs exportieren…</translation>
    </message>
    <message>
        <source>Export Cue Sheet…</source>
        <translation>Hinweisliste exportieren…</translation>
    </message>
    <message>
        <source>A cue sheet to print (PDF) or for a spreadsheet (CSV)</source>
        <translation>Eine Hinweisliste zum Drucken (PDF) oder für eine Tabellenkalkulation (CSV)</translation>
    </message>
    <message>
        <source>Suggest Loops…</source>
        <translation>Rundtouren vorschlagen…</translation>
    </message>
    <message>
        <source>Round trips from the plan&apos;s start, or from where you last clicked or searched</source>
        <translation>Rundtouren vom Start der Planung, sonst von dort, wo du zuletzt geklickt oder gesucht hast</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::MapView</name>
    <message>
        <source>The map page could not be loaded. The application&apos;s Map folder may be missing; reinstalling Tramu brings it back.</source>
        <translation>Die Kartenseite konnte nicht geladen werden. Vielleicht fehlt der Ordner Map des Programms; eine Neuinstallation von Tramu bringt ihn zurück.</translation>
    </message>
    <message>
        <source>The map stopped working (its renderer ended). Restart Tramu to bring it back; your route is still here.</source>
        <translation>Die Karte arbeitet nicht mehr (ihr Renderer wurde beendet). Starte Tramu neu, um sie zurückzuholen; deine Route bleibt erhalten.</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::POISymbolSheet</name>
    <message>
        <source>Import POIs</source>
        <translation>POIs importieren</translation>
    </message>
    <message>
        <source>1 point found. Which symbol shall the map draw it with?</source>
        <translation>1 Punkt gefunden. Mit welchem Symbol soll die Karte ihn zeigen?</translation>
    </message>
    <message>
        <source>%1 points found. Which symbol shall the map draw them with?</source>
        <translation>%1 Punkte gefunden. Mit welchem Symbol soll die Karte sie zeigen?</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Symbol</source>
        <translation>Symbol</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::ProfileChart</name>
    <message>
        <source>km</source>
        <translation>km</translation>
    </message>
    <message>
        <source>m</source>
        <translation>m</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::SearchField</name>
    <message>
        <source>Search address</source>
        <translation>Adresse suchen</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Suche läuft</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::ServerBanner</name>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Server base</source>
        <translation>Server-Basis</translation>
    </message>
    <message>
        <source>Scheme and host, e.g. http://192.168.1.20: routing (port 8989) and map tiles (port 8080) follow from it.</source>
        <translation>Schema + Host, z. B. http://192.168.1.20 — Ports (8989 Routing / 8080 Karten) werden automatisch ergänzt.</translation>
    </message>
    <message>
        <source>Overrides</source>
        <translation>Abweichende Adressen</translation>
    </message>
    <message>
        <source>Routing (optional)</source>
        <translation>Routing (optional)</translation>
    </message>
    <message>
        <source>Tiles (optional)</source>
        <translation>Kacheln (optional)</translation>
    </message>
    <message>
        <source>Search base</source>
        <translation>Ortssuche</translation>
    </message>
    <message>
        <source>Reset to default</source>
        <translation>Standard wiederherstellen</translation>
    </message>
    <message>
        <source>Routes come from a GraphHopper server: by default on this computer at http://127.0.0.1:8989 (the README says how to start one). To use a server elsewhere, set its base above or its full address under Routing. Applied addresses are used for the next request; the map loads its tiles again from a new tile address.</source>
        <translation>Routen kommen von einem GraphHopper-Server: standardmäßig auf diesem Rechner unter http://127.0.0.1:8989 (die README sagt, wie du ihn startest). Für einen Server anderswo trägst du oben seine Basis oder unter Routing seine volle Adresse ein. Übernommene Adressen gelten ab der nächsten Anfrage; von einer neuen Kachel-Adresse lädt die Karte ihre Kacheln neu.</translation>
    </message>
    <message>
        <source>%1: write a server address with scheme and host, like http://gh.local:8989.</source>
        <translation>%1: gib eine Serveradresse mit Schema und Host an, etwa http://gh.local:8989.</translation>
    </message>
    <message>
        <source>Routing</source>
        <translation>Routing</translation>
    </message>
    <message>
        <source>Tiles</source>
        <translation>Kacheln</translation>
    </message>
    <message>
        <source>Routing server</source>
        <translation>Routing-Server</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::SidebarPanel</name>
    <message>
        <source>Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <source>Import ride…</source>
        <translation>Fahrt importieren…</translation>
    </message>
    <message>
        <source>Send route…</source>
        <translation>Route senden…</translation>
    </message>
    <message>
        <source>Remove favorite</source>
        <translation>Favorit entfernen</translation>
    </message>
    <message>
        <source>All routes</source>
        <translation>Alle Routen</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Zuletzt</translation>
    </message>
    <message>
        <source>Saved routes appear here.</source>
        <translation>Gespeicherte Routen erscheinen hier.</translation>
    </message>
    <message>
        <source>Routes</source>
        <translation>Routen</translation>
    </message>
    <message>
        <source>Favorites</source>
        <translation>Favoriten</translation>
    </message>
    <message>
        <source>Starred places appear here.</source>
        <translation>Markierte Orte erscheinen hier.</translation>
    </message>
    <message>
        <source>Devices</source>
        <translation>Geräte</translation>
    </message>
    <message>
        <source>USB volume</source>
        <translation>USB-Laufwerk</translation>
    </message>
    <message>
        <source>USB (MTP)</source>
        <translation>USB (MTP)</translation>
    </message>
    <message>
        <source>Click to import rides; right-click to send the route.</source>
        <translation>Klicken, um Fahrten zu importieren; Rechtsklick sendet die Route.</translation>
    </message>
    <message>
        <source>Connect a Garmin or Bryton via USB.</source>
        <translation>Schließe einen Garmin oder Bryton über USB an.</translation>
    </message>
</context>
<context>
    <name>zuvo::ui::TrackBanner</name>
    <message>
        <source>Convert to route</source>
        <translation>In Route umwandeln</translation>
    </message>
    <message>
        <source>Details…</source>
        <translation>Details…</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Track shown</source>
        <translation>Gezeigte Spur</translation>
    </message>
</context>
</TS>
