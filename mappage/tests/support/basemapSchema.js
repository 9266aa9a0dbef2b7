// The kinds that real Protomaps basemap extracts (schema version 4) carry, per source layer, for
// the layers the page reads. Sources: the official style package @protomaps/basemaps 5.7.2
// (every value its layers compare "kind" or "kind_detail" with; styleSchema.test.js checks the
// installed package against this list) and the schema's documentation, "Basemap Layers" of the
// Protomaps docs. The basemap passes every shop=* value through as a POI kind, so "bicycle"
// (shop=bicycle) is one although neither lists it. The test basemaps emit only these values.

export const SCHEMA_SOURCE = { package: "@protomaps/basemaps", version: "5.7.2", schema: 4 };

const words = (text) => text.trim().split(/\s+/);

export const BASEMAP_SCHEMA = {
  earth: { kind: words("earth island") },
  water: {
    kind: words("water lake playa ocean other bay fjord river sea strait stream"),
    kind_detail: words(`basin canal ditch dock drain lake reservoir river riverbank stream`),
  },
  landuse: {
    kind: words(`
      aerodrome airfield allotments attraction bare_rock beach cafe camp_site cemetery college
      commercial dam dog_park farmland farmyard footway forest garden glacier golf_course grass
      grassland grocery hospital hotel industrial kindergarten library marina meadow military
      national_park nature_reserve naval_base neighbourhood orchard other park pedestrian pier
      pitch platform playground post_office protected_area railway recreation_ground residential
      runway sand school scrub stadium supermarket taxiway townhall university village_green
      wetland wood zoo`),
  },
  roads: {
    kind: words("highway major_road minor_road path other aerialway ferry pier rail aeroway"),
    kind_detail: words(`
      motorway motorway_link trunk trunk_link primary primary_link secondary secondary_link
      tertiary tertiary_link residential service unclassified road raceway pedestrian track path
      cycleway bridleway steps corridor sidewalk crossing driveway parking_aisle alley
      drive-through emergency_access utility irrigation slipway cable_car pier runway taxiway
      disused funicular light_rail miniature monorail narrow_gauge preserved subway tram`),
  },
  boundaries: { kind: words("country region county locality") },
  places: { kind: words("country region locality macrohood neighbourhood") },
  pois: {
    kind: words(`
      aerodrome adult_gaming_centre airfield alpine_hut amusement_ride animal art artwork atm
      attraction atv baby_hatch bakery bar bbq beach beauty bed_and_breakfast bench bicycle
      bicycle_parking bicycle_rental bicycle_repair_station boat_storage bookmaker books building
      bureau_de_change bus_stop butcher cafe camp_site car car_parts car_rental car_repair
      car_sharing car_wash carousel cemetery chalet charging_station childcare clinic clothes
      college computer convenience customs dentist district doctors dog_park drinking_water
      electronics emergency_phone fashion fast_food ferry_terminal fire_station firepit fishing
      florist forest fuel gambling garden garden_centre gift golf golf_course greengrocer grocery
      guest_house hairdresser hanami harbourmaster hifi hospital hostel hotel hunting_stand
      information jewelry karaoke_box landmark library life_ring lottery marina maze memorial
      military mobile_phone money_transfer motorcycle motorcycle_parking museum national_park
      nature_reserve naval_base newsagent optician park parking peak perfumery picnic_site
      picnic_table pitch playground post_box post_office ranger_station recycling restaurant
      roller_coaster sanitary_dump_station school scuba_diving shelter ship_chandler shower
      slipway snowmobile social_facility stadium station stationery studio summer_toboggan
      supermarket swimming_area taxi telephone theatre tobacco toilets townhall
      trail_riding_station travel_agency university viewpoint waste_basket waste_disposal
      water_point water_slide watering_place wayside_cross wilderness_hut zoo`),
  },
};

// Throws unless the properties of a feature in `layer` use only the schema's kinds. (A number as
// kind_detail is an admin level on boundaries.)
export function checkSchema(layer, properties) {
  const known = BASEMAP_SCHEMA[layer];
  if (!known) throw new Error(`the basemap has no source layer "${layer}"`);
  for (const key of ["kind", "kind_detail"]) {
    if (typeof properties[key] === "string" && !known[key]?.includes(properties[key])) {
      throw new Error(`the basemap's "${layer}" features have no ${key} "${properties[key]}"`);
    }
  }
}
